# The engine's sources, listed once for every build that compiles them (the engine itself, and
# the fuzz targets): shared files first, then the platform's own.
set(ZELVORA_ENGINE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ENGINE_SOURCES
    apply_renames.cpp
    batch_journal.cpp
    journal_folder.cpp
    compose_name.cpp
    date_format.cpp
    journal.cpp
    list_folder.cpp
    name_rules.cpp
    natural_key.cpp
    parse_integer.cpp
    regional_settings.cpp
    regional_values.cpp
    rename_failure.cpp
    rename_steps.cpp
    system_settings.cpp
    undo_batch.cpp
    platform/wtf8.cpp) # pure: both platforms keep names as WTF-8
if(WIN32)
    list(APPEND ENGINE_SOURCES
        platform/folder_win.cpp
        platform/held_folder_win.cpp
        platform/journal_files_win.cpp
        platform/regional_win.cpp
        platform/rename_folder_win.cpp
        platform/system_win.cpp
        platform/wide_win.cpp)
else()
    list(APPEND ENGINE_SOURCES
        folder_operations_linux.cpp
        numbered_name_linux.cpp
        permission_text_linux.cpp
        platform/copy_tree_linux.cpp
        platform/fd_linux.cpp
        platform/folder_linux.cpp
        platform/folder_tree_linux.cpp
        platform/journal_files_linux.cpp
        platform/rename_folder_linux.cpp
        platform/system_linux.cpp)
endif()
list(TRANSFORM ENGINE_SOURCES PREPEND ${ZELVORA_ENGINE_DIR}/)
