#pragma once

#include <QString>
#include <memory>

class QFileDialog;
class QWidget;

namespace ui {

// The file dialogs and the message box, behind one small interface so that tests can drive
// the whole open sequence without a real dialog.
class Prompts {
public:
    virtual ~Prompts() = default;

    // An existing file chosen by the user, or an empty text when the dialog was cancelled.
    // The filter is "shown text|pattern"; the dialog opens in folder (when given), with
    // lastFile, the dialog's remembered choice, selected.
    virtual QString ChooseExistingFile(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& folder, const QString& lastFile) = 0;

    // A message with an exclamation icon and a single OK button.
    virtual void Exclaim(QWidget* parent, const QString& prompt, const QString& title) = 0;
    // The same with an information icon.
    virtual void Inform(QWidget* parent, const QString& prompt, const QString& title) = 0;
};

// The real dialogs: Qt's own file dialog and message box.
class QtPrompts final : public Prompts {
public:
    QString ChooseExistingFile(QWidget* parent, const QString& title, const QString& filter, const QString& folder,
                               const QString& lastFile) override;
    void Exclaim(QWidget* parent, const QString& prompt, const QString& title) override;
    void Inform(QWidget* parent, const QString& prompt, const QString& title) override;
};

// Qt's own file dialog, set up to list folders and the files that the filter's pattern names.
// The pattern is matched as the user reads it: only * and ? are wildcards and ';' separates
// patterns, so a name with spaces, brackets or parentheses lists exactly that file.
std::unique_ptr<QFileDialog> OpenFileDialog(QWidget* parent, const QString& title, const QString& filter,
                                            const QString& folder, const QString& lastFile);

}  // namespace ui
