#include "ui/texture_watcher.h"

#include <QFileInfo>

namespace ui {

TextureWatcher::TextureWatcher(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &TextureWatcher::OnChange);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &TextureWatcher::OnChange);
    connect(&settle_, &QTimer::timeout, this, [this] {
        Rewatch();
        emit settled();
    });
}

void TextureWatcher::Watch(const QString& path) {
    Stop();
    path_ = QFileInfo(path).absoluteFilePath();
    watcher_.addPath(QFileInfo(path_).absolutePath());
    Rewatch();
}

void TextureWatcher::Stop() {
    settle_.stop();
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    path_.clear();
}

void TextureWatcher::OnChange() {
    if (path_.isEmpty()) return;
    Rewatch();
    settle_.start();  // each change starts the wait anew
}

void TextureWatcher::Rewatch() {
    // A file renamed over the old one is a new file to the system: watch it afresh.
    if (!watcher_.files().contains(path_) && QFileInfo::exists(path_)) watcher_.addPath(path_);
}

}  // namespace ui
