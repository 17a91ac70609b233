#pragma once

#include <string>

namespace testing_support {

// Makes a folder read-only for this process while the object lives: by permission bits for an
// ordinary user, and for root (who ignores them) by a read-only bind mount in a private mount
// namespace. Throws when neither works, so a test never passes without the folder being read-only.
// The mount namespace needs a process without threads at the first use.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    std::string folder_;
    bool mounted_ = false;
};

// Enters the private mount namespace now, for test programs that start threads later.
void PrepareReadOnlyFolders();

}  // namespace testing_support
