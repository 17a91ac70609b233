#include "ui/prompts.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
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

// Keeps the remembered name selected until the user types, so that typing replaces it. Qt's
// dialog writes the name of the file selected in its listing into the box whenever the box is
// without focus, and writing drops the selection. With the filter above, the remembered file is
// selected only once the listing has reached the filter, which may be after the dialog opened;
// if the dialog is not the active window then (another window was, or a message box had just
// closed), the name comes back unselected with the cursor at its end. The box must gain the focus
// again before anything can be typed into it: the name is selected again at that moment.
class KeepNameSelected final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            if (!box->isModified()) box->selectAll();
        }
        return false;
    }
};

}  // namespace

std::unique_ptr<QFileDialog> OpenFileDialog(QWidget* parent, const QString& title, const QString& filter,
                                            const QString& folder, const QString& lastFile) {
    auto dialog = std::make_unique<QFileDialog>(parent, title);
    dialog->setOption(QFileDialog::DontUseNativeDialog);  // a desktop's own dialog would ignore the proxy
    dialog->setFileMode(QFileDialog::ExistingFile);      // names of existing files only
    // The filter's shown text alone; the proxy does the matching.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilter(filter.section(QLatin1Char('|'), 0, 0) + QStringLiteral(" (*)"));
    dialog->setProxyModel(new PatternFilter(filter.section(QLatin1Char('|'), 1), dialog.get()));
    if (!folder.isEmpty()) dialog->setDirectory(folder);
    if (!lastFile.isEmpty()) dialog->selectFile(lastFile);
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        name->installEventFilter(new KeepNameSelected(dialog.get()));
    }
    return dialog;
}

QString QtPrompts::ChooseExistingFile(QWidget* parent, const QString& title, const QString& filter, const QString& folder,
                                     const QString& lastFile) {
    const auto dialog = OpenFileDialog(parent, title, filter, folder, lastFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().constFirst();
}

namespace {

void ShowMessage(QMessageBox::Icon icon, QWidget* parent, const QString& prompt, const QString& title) {
    QMessageBox box(icon, title, prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);  // prompts carry file names, which are never markup
    box.exec();
}

}  // namespace

void QtPrompts::Exclaim(QWidget* parent, const QString& prompt, const QString& title) {
    ShowMessage(QMessageBox::Warning, parent, prompt, title);
}

void QtPrompts::Inform(QWidget* parent, const QString& prompt, const QString& title) {
    ShowMessage(QMessageBox::Information, parent, prompt, title);
}

}  // namespace ui
