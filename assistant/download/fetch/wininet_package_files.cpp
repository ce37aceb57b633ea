#include "fetch/wininet_package_files.h"

#include "fetch/file_probe.h"
#include "fetch/http_receive.h"
#include "fetch/part_file.h"
#include "fetch/worker.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace pf::fetch {

WinInetPackageFiles::WinInetPackageFiles(WaitPolicy wait, std::size_t buffer_size)
    : wait_(std::move(wait)), buffer_size_(buffer_size) {
    if (!wait_) throw std::invalid_argument("WinInetPackageFiles: no wait policy");
    if (buffer_size_ == 0 || buffer_size_ > 0x7fffffff) {
        throw std::invalid_argument("WinInetPackageFiles: receive buffer size out of range");
    }
}

bool WinInetPackageFiles::FichierExiste(std::wstring_view path) {
    return file_is_present(path);
}

FetchOutcome WinInetPackageFiles::DOWNLOAD(std::string_view url, std::wstring_view local_path) {
    if (!wininet_) wininet_.emplace(WinInetLibrary::bind());

    FetchOutcome outcome = FetchOutcome::Failed;
    run_on_worker(
        [&, url = std::string(url)] {
            PartFile file(local_path);
            auto buffer = std::make_unique_for_overwrite<std::byte[]>(buffer_size_);
            outcome = receive(*wininet_, url, file, {buffer.get(), buffer_size_});
            if (outcome == FetchOutcome::Complete) file.commit();
        },
        wait_);
    return outcome;
}

}  // namespace pf::fetch
