#pragma once
// The package folder and package server as packfetch really reaches them:
// the file system for the probe, WinINet for the download.

#include "fetch/pumping_wait.h"
#include "fetch/wininet_library.h"
#include "package_files.h"

#include <cstddef>
#include <optional>

namespace pf::fetch {

class WinInetPackageFiles final : public PackageFiles {
public:
    // WinINet's cost is per read, not per byte: on a local link under Wine a
    // 200 MB file came in at about 410-570 MB/s with 64 KB reads and 690-780 MB/s
    // with 256 KB ones; larger reads gained nothing measurable (bench/fetch, --buffer).
    static constexpr std::size_t default_buffer_size = 256 * 1024;

    explicit WinInetPackageFiles(WaitPolicy wait = wait_pumping_paint,
                                 std::size_t buffer_size = default_buffer_size);

    bool FichierExiste(std::wstring_view path) override;
    // Runs the transfer on a worker thread while this thread waits by the
    // policy; the body streams into "<local_path>.part", renamed to local_path
    // only once complete. The package folder is created when missing.
    FetchOutcome DOWNLOAD(std::string_view url, std::wstring_view local_path) override;

private:
    WaitPolicy wait_;
    std::size_t buffer_size_;
    std::optional<WinInetLibrary> wininet_;  // bound by the first DOWNLOAD
};

}  // namespace pf::fetch
