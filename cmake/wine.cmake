# Runs the Windows executables of a cross build under Wine: ctest starts each test through
# CMAKE_CROSSCOMPILING_EMULATOR, in a Wine prefix of this build folder, made once here (the
# first start of a prefix takes up to a minute).
find_program(ZELVORA_WINE NAMES wine64 wine PATHS /usr/lib/wine REQUIRED)
find_program(ZELVORA_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine REQUIRED)
set(ZELVORA_WINEPREFIX "${CMAKE_BINARY_DIR}/wine-prefix")
set(ZELVORA_WINE_ENV WINEPREFIX=${ZELVORA_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
if(NOT EXISTS "${ZELVORA_WINEPREFIX}/system.reg")
    message(STATUS "Making the Wine prefix ${ZELVORA_WINEPREFIX}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${ZELVORA_WINE_ENV} ${ZELVORA_WINE} wineboot --init
                    RESULT_VARIABLE wine_result OUTPUT_QUIET ERROR_QUIET)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${ZELVORA_WINE_ENV} ${ZELVORA_WINESERVER} -w)
    if(NOT wine_result EQUAL 0)
        message(FATAL_ERROR "wineboot failed (${wine_result})")
    endif()
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${ZELVORA_WINE_ENV} ${ZELVORA_WINE})
