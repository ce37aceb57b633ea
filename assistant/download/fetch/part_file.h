#pragma once
// The file a download is received into. It lives beside its final name (the
// name plus ".part") and only takes that name through commit(); dropped without
// a commit, it removes itself, so an interrupted transfer never leaves
// something that a later probe would take for a complete file.

#include "fetch/handles.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace pf::fetch {

class PartFile {
public:
    // Creates the final path's folder when it is missing, then the part file.
    // Throws RuntimeError naming the folder or the final path on failure.
    explicit PartFile(std::wstring_view final_path);
    ~PartFile();

    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    void write(std::span<const std::byte> bytes);
    // Closes the part file and renames it over the final path.
    void commit();

    [[nodiscard]] const std::wstring& final_path() const noexcept { return final_path_; }
    [[nodiscard]] const std::wstring& part_path() const noexcept { return part_path_; }

private:
    void discard() noexcept;

    std::wstring final_path_;
    std::wstring part_path_;
    UniqueHandle file_;
    bool committed_ = false;
};

// The folder part of a path ("C:\Pack" for "C:\Pack\zrx25.W02"), empty when
// the path has none.
std::wstring_view parent_folder(std::wstring_view path) noexcept;

// Makes sure `folder` exists as a folder; creates it (one level) when missing.
void ensure_folder(std::wstring_view folder);

}  // namespace pf::fetch
