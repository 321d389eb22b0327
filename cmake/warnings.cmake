# Compiler settings every Zelvora build shares, the engine's own build included.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

option(ZELVORA_WERROR "Treat warnings as errors" OFF)
option(ZELVORA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
# Our own targets link zelvora_warnings; code we only build (GoogleTest's source) keeps its own.
if(NOT TARGET zelvora_warnings)
    add_library(zelvora_warnings INTERFACE)
    target_compile_options(zelvora_warnings INTERFACE -Wall -Wextra -Wpedantic
                                                      $<$<BOOL:${ZELVORA_WERROR}>:-Werror>)
endif()
if(ZELVORA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()
