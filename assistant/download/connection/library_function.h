#pragma once
// A function of a system library bound by name at its first use, as the
// program has always done for the Remote Access and Internet libraries.

#include "toolkit/runtime_error.h"

#include <windows.h>

#include <memory>
#include <string>

namespace pf::win {

struct ModuleFree {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

template <typename Signature>
class LibraryFunction {
public:
    LibraryFunction(const wchar_t* library, const char* name) : library_(library), name_(name) {}

    // Throws RuntimeError naming the library or the function when either is missing.
    Signature* get() {
        if (function_) return function_;
        if (!module_) {
            module_.reset(LoadLibraryW(library_));
            if (!module_)
                throw RuntimeError(static_cast<long>(GetLastError()), L"Impossible de charger la bibliothèque",
                                   library_);
        }
        function_ = reinterpret_cast<Signature*>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name_)));
        if (!function_) {
            std::wstring where = library_;
            where += L" : ";
            for (const char* c = name_; *c; ++c) where += static_cast<wchar_t>(*c);
            throw RuntimeError(static_cast<long>(GetLastError()), L"Point d'entrée introuvable", where);
        }
        return function_;
    }

private:
    const wchar_t* library_;
    const char* name_;
    UniqueModule module_;
    Signature* function_ = nullptr;
};

}  // namespace pf::win
