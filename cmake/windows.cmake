# What the window's Windows build needs beyond the engine's: Qt's headers redeclare a few
# functions without dllimport (harmless, and normal for mingw builds of Qt), and the window
# tests run under Wine with Qt's DLLs and the compiler's runtime on Wine's PATH.
add_compile_options(-Wno-attributes)

get_target_property(ZELVORA_QT_CORE Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(ZELVORA_QT_BIN "${ZELVORA_QT_CORE}" DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE ZELVORA_RUNTIME_DLL OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(ZELVORA_RUNTIME_BIN "${ZELVORA_RUNTIME_DLL}" DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                OUTPUT_VARIABLE ZELVORA_PTHREAD_DLL OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(ZELVORA_PTHREAD_BIN "${ZELVORA_PTHREAD_DLL}" DIRECTORY)
# Wine reads WINEPATH as Windows paths; Z: is the Unix root.
set(ZELVORA_WINEPATH "Z:${ZELVORA_QT_BIN}\\;Z:${ZELVORA_RUNTIME_BIN}\\;Z:${ZELVORA_PTHREAD_BIN}")

# The offscreen platform reads fonts from one folder. WenQuanYi alone, Latin included, as
# 宋体's substitute draws it on Linux: the layout tests measure the same texts there.
set(ZELVORA_TEST_FONTS "${CMAKE_BINARY_DIR}/test-fonts")
file(REMOVE_RECURSE "${ZELVORA_TEST_FONTS}")
file(MAKE_DIRECTORY "${ZELVORA_TEST_FONTS}")
file(CREATE_LINK /usr/share/fonts/truetype/wqy/wqy-microhei.ttc
     "${ZELVORA_TEST_FONTS}/wqy-microhei.ttc" SYMBOLIC)

# Wine passes no QT_* variable on: WINEQT_X reaches the program as QT_X. Qt Test writes its log
# to the debugger's channel when there is no console, unless told to use the standard streams.
function(zelvora_windows_test_environment test)
    set_tests_properties(${test} PROPERTIES ENVIRONMENT
        "WINEQT_QPA_PLATFORM=offscreen;WINEQT_QPA_FONTDIR=Z:${ZELVORA_TEST_FONTS};WINEQT_FORCE_STDERR_LOGGING=1;WINEPATH=${ZELVORA_WINEPATH};${ARGN}")
endfunction()
