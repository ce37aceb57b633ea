// Functions of system libraries bound by name: what a bound function does, and the
// standard error message's content when the library or the function is missing.

#include "system_library.h"

#include <gtest/gtest.h>

namespace pf::testing {
namespace {

TEST(SystemLibrary, BindsAFunctionThatWorks) {
    win::LibraryFunction<decltype(::GetCurrentProcessId)> bound(L"kernel32.dll", "GetCurrentProcessId");
    ASSERT_NE(bound.get(), nullptr);
    EXPECT_EQ(bound.get()(), ::GetCurrentProcessId());
}

TEST(SystemLibrary, MissingLibraryOrFunctionIsNamedInTheError) {
    struct Case {
        const wchar_t* library;
        const char* function;
        const wchar_t* description;
        const wchar_t* where;
    };
    const Case cases[] = {
        {L"no-such-library.dll", "Anything", L"Impossible de charger la bibliothèque", L"no-such-library.dll"},
        {L"kernel32.dll", "NoSuchFunction", L"Point d'entrée introuvable", L"kernel32.dll : NoSuchFunction"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        win::LibraryFunction<void()> bound(c.library, c.function);
        try {
            bound.get();
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.description(), c.description);
            EXPECT_EQ(error.where(), c.where);
            EXPECT_NE(error.code(), 0);
        }
    }
}

}  // namespace
}  // namespace pf::testing
