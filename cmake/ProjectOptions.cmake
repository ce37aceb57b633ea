# Compiler settings shared by every target of the project.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(PF_WINDOWS OFF)
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(PF_WINDOWS ON)
endif()

add_library(pf_warnings INTERFACE)
target_compile_options(pf_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

if(PF_WINDOWS)
  # Unicode everywhere: every French text goes through the wide-character API.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # No MinGW runtime DLLs to ship or to find under Wine.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_options(-finput-charset=UTF-8)
  set(PF_WINE_RUN ${PROJECT_SOURCE_DIR}/tools/wine/wine-run)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PF_WINE_RUN};${CMAKE_BINARY_DIR})
endif()

if(PF_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
