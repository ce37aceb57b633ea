#pragma once
// The download script's view of the package folder and the package server.

#include <string_view>

namespace pf {

enum class FetchOutcome {
    Complete,  // the whole body arrived and now stands under the file's name
    Failed,    // nothing was stored under the file's name; a later pass tries again
};

class PackageFiles {
public:
    virtual ~PackageFiles() = default;
    // True when the path names an existing file that is not a folder; never throws.
    virtual bool FichierExiste(std::wstring_view path) = 0;
    // Network failures come back as Failed. A local file that cannot be created or
    // written throws RuntimeError naming the error and the path, and leaves nothing behind.
    virtual FetchOutcome DOWNLOAD(std::string_view url, std::wstring_view local_path) = 0;
};

}  // namespace pf
