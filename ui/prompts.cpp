#include "ui/prompts.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <algorithm>
#include <vector>

namespace ui {
namespace {

// Qt's own name filter splits at spaces and takes brackets as character classes, so a font
// named "my font.gmf" would list "font.bmp" and not "my font.bmp": the listing is filtered here.
class PatternFilter final : public QSortFilterProxyModel {
public:
    PatternFilter(const QString& patterns, QObject* parent) : QSortFilterProxyModel(parent) {
#if defined(Q_OS_WIN)
        const auto options = QRegularExpression::CaseInsensitiveOption;
#else
        const auto options = QRegularExpression::NoPatternOption;
#endif
        for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            QString expression;
            for (const QChar c : pattern) {
                if (c == QLatin1Char('*')) expression += QStringLiteral(".*");
                else if (c == QLatin1Char('?')) expression += QLatin1Char('.');
                else expression += QRegularExpression::escape(QString(c));
            }
            patterns_.emplace_back(QRegularExpression::anchoredPattern(expression), options);
        }
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex index = sourceModel()->index(row, 0, parent);
        if (!files || files->isDir(index)) return true;
        const QString name = files->fileName(index);
        return std::any_of(patterns_.begin(), patterns_.end(),
                           [&](const QRegularExpression& pattern) { return pattern.match(name).hasMatch(); });
    }

private:
    std::vector<QRegularExpression> patterns_;
};

}  // namespace

std::unique_ptr<QFileDialog> OpenFileDialog(QWidget* parent, const QString& title, const QString& filter,
                                            const QString& lastFile) {
    auto dialog = std::make_unique<QFileDialog>(parent, title);
    dialog->setOption(QFileDialog::DontUseNativeDialog);  // a desktop's own dialog would ignore the proxy
    dialog->setFileMode(QFileDialog::ExistingFile);      // names of existing files only
    // The filter's shown text alone; the proxy does the matching.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilter(filter.section(QLatin1Char('|'), 0, 0) + QStringLiteral(" (*)"));
    dialog->setProxyModel(new PatternFilter(filter.section(QLatin1Char('|'), 1), dialog.get()));
    if (!lastFile.isEmpty()) dialog->selectFile(lastFile);
    return dialog;
}

QString QtPrompts::ChooseExistingFile(QWidget* parent, const QString& title, const QString& filter,
                                     const QString& lastFile) {
    const auto dialog = OpenFileDialog(parent, title, filter, lastFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().constFirst();
}

void QtPrompts::Exclaim(QWidget* parent, const QString& prompt, const QString& title) {
    QMessageBox box(QMessageBox::Warning, title, prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);  // prompts carry file names, which are never markup
    box.exec();
}

}  // namespace ui
