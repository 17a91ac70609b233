#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace ui {

// Watches the texture picture while it is shown, and says once the file has changed and then
// stayed as it is for a moment. Image editors often save by writing a new file and renaming it
// over the old one, so the folder is watched too: the file itself may be replaced.
class TextureWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr int kSettleMilliseconds = 250;

    explicit TextureWatcher(QObject* parent = nullptr);

    void Watch(const QString& path);
    // Nothing is watched and no timer runs afterwards.
    void Stop();

signals:
    void settled();

private:
    void OnChange();
    void Rewatch();

    QString path_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

}  // namespace ui
