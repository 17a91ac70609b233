#pragma once

#include <functional>
#include <string>

namespace testing_support {

// Takes the write bits from a folder and the files in it while the object lives.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    std::string folder_;
};

// Runs body in a child process that obeys permission bits, and returns what body returned.
// Root ignores them, so as root the child first gives up CAP_DAC_OVERRIDE and
// CAP_DAC_READ_SEARCH; no mount namespace or other privilege is needed. Throws when the child
// cannot be made, cannot give them up or does not finish, so a test never passes unchecked.
// Only the child sees what body changes in memory: body reports through its answer.
bool InChildObeyingPermissions(const std::function<bool()>& body);

}  // namespace testing_support
