#include "fetch/part_file.h"

#include "fetch/windows_error.h"

#include <windows.h>

#include <algorithm>
#include <limits>

namespace pf::fetch {

std::wstring_view parent_folder(std::wstring_view path) noexcept {
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return {};
    auto folder = path.substr(0, slash);
    // "C:\file": the parent is the drive's root, which always exists.
    if (folder.size() <= 2 && (folder.empty() || folder.back() == L':')) return {};
    return folder;
}

void ensure_folder(std::wstring_view folder) {
    if (folder.empty()) return;
    const std::wstring name(folder);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return;
        // A file stands where the folder should be.
        throw windows_error(ERROR_ALREADY_EXISTS, name);
    }
    if (::CreateDirectoryW(name.c_str(), nullptr)) return;
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
        // Someone else created it in between: fine if it is a folder.
        const DWORD now = ::GetFileAttributesW(name.c_str());
        if (now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_DIRECTORY)) return;
    }
    throw windows_error(error, name);
}

PartFile::PartFile(std::wstring_view final_path)
    : final_path_(final_path), part_path_(std::wstring(final_path) + L".part") {
    ensure_folder(parent_folder(final_path_));
    // Replacing a file renames over it, which some file systems allow even when
    // it is read-only; Windows refuses, and so do we, before any transfer.
    const DWORD existing = ::GetFileAttributesW(final_path_.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
        throw windows_error(ERROR_ACCESS_DENIED, final_path_);
    }
    // A leftover from an earlier interrupted run is simply overwritten.
    file_ = UniqueHandle(::CreateFileW(part_path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file_) throw windows_error(::GetLastError(), final_path_);
}

PartFile::~PartFile() {
    if (!committed_) discard();
}

void PartFile::write(std::span<const std::byte> bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!::WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr)) {
            const DWORD error = ::GetLastError();
            discard();
            throw windows_error(error, final_path_);
        }
        bytes = bytes.subspan(written);
    }
}

void PartFile::commit() {
    file_.reset();
    if (!::MoveFileExW(part_path_.c_str(), final_path_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = ::GetLastError();
        discard();
        throw windows_error(error, final_path_);
    }
    committed_ = true;
}

void PartFile::discard() noexcept {
    file_.reset();
    ::DeleteFileW(part_path_.c_str());
}

}  // namespace pf::fetch
