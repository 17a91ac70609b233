// Qt's own dialogs, as the window sets them up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <set>

#include "tests/support/temp_dir.h"
#include "ui/prompts.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

// The names the dialog lists in a folder, once the folder is read.
std::set<QString> Listed(const QString& filter, const std::string& folder) {
    const auto dialog = ui::OpenFileDialog(nullptr, QStringLiteral("t"), filter, QString::fromStdString(folder), QString());
    auto* files = dialog->findChild<QFileSystemModel*>();
    EXPECT_NE(files, nullptr);
    QSignalSpy loaded(files, &QFileSystemModel::directoryLoaded);
    const auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    std::set<QString> names;
    // Every folder holds "sub", so the listing is complete once it shows.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        names.clear();
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
            names.insert(view->model()->index(row, 0, view->rootIndex()).data().toString());
        }
        return !loaded.isEmpty() && names.count(QStringLiteral("sub"));
    }, 5000)) << "the folder was not listed";
    return names;
}

TEST(FileDialog, ListsFoldersAndExactlyTheNamedFile) {
    testing_support::TempDir dir;
    for (const char* name : {"my font.bmp", "font.bmp", "my", "font[1].bmp", "font1.bmp", "font (2).bmp", "a.gmf", "b.gmf.bak", "font1.tga"}) {
        dir.Write(name, {});
    }
    std::filesystem::create_directory(dir.Path("sub"));
    const struct { QString filter; std::set<QString> listed; } cases[] = {
        {QStringLiteral("my font.bmp|my font.bmp"), {"sub", "my font.bmp"}},
        {QStringLiteral("font[1].bmp|font[1].bmp"), {"sub", "font[1].bmp"}},
        {QStringLiteral("font (2).bmp|font (2).bmp"), {"sub", "font (2).bmp"}},
        {QStringLiteral(".gmf|*.gmf"), {"sub", "a.gmf"}},
        {QStringLiteral("BMP and TGA pictures (*.bmp;*.tga)|*.bmp;*.tga"),
         {"sub", "my font.bmp", "font.bmp", "font[1].bmp", "font1.bmp", "font (2).bmp", "font1.tga"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Listed(c.filter, dir.Path("")), c.listed) << c.filter.toStdString();
}

TEST(FileDialog, TheRememberedNameIsReplacedByWhatIsTyped) {
    testing_support::TempDir dir;
    for (const char* name : {"a.gmf", "keep.gmf", "z.gmf"}) dir.Write(name, {});
    const auto dialog = ui::OpenFileDialog(nullptr, QStringLiteral("t"), QStringLiteral(".gmf|*.gmf"),
                                           QString::fromStdString(dir.Path("")), QString::fromStdString(dir.Path("keep.gmf")));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_TRUE(name && view);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(name->selectedText(), QStringLiteral("keep.gmf"));
    // The row of the remembered file, found anew each time: the listing sorts its rows as it
    // learns about the files.
    const auto rowOf = [&](const QString& file) {
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
            const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
            if (index.data().toString() == file) return index;
        }
        return QModelIndex();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return rowOf(QStringLiteral("a.gmf")).isValid() && rowOf(QStringLiteral("z.gmf")).isValid(); }, 5000));
    QTest::qWait(100);

    // Another window is active while the listing selects the file again.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    view->selectionModel()->clearSelection();
    view->selectionModel()->select(rowOf(QStringLiteral("keep.gmf")), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(name->text(), QStringLiteral("keep.gmf"));

    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(QApplication::focusWidget(), name);
    EXPECT_EQ(name->selectedText(), QStringLiteral("keep.gmf"));
    QTest::keyClicks(name, QStringLiteral("/home/me/fonts/abc"));
    EXPECT_EQ(name->text(), QStringLiteral("/home/me/fonts/abc")) << "typing replaces the name";
    dialog->reject();
}

TEST(MessageBox, APromptIsPlainText) {
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        format = box->textFormat();
        box->accept();
    });
    ui::QtPrompts().Exclaim(nullptr, QStringLiteral("не удалось открыть файл /tmp/<b>old</b>/font1.gmf."),
                            QStringLiteral("Ошибка"));
    EXPECT_EQ(format, Qt::PlainText);
}

}  // namespace
