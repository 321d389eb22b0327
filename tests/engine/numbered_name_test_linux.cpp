#include <string>

#include <gtest/gtest.h>

#include "engine/folder_operations_linux.h"

TEST(NumberedName, NumbersBeforeTheExtensionOfFilesOnly) {
    struct Row {
        const char* name;
        std::string base;
        bool isFolder;
        int number;
        std::string want;
    };
    const Row rows[] = {
        {"first try is the name itself", "名称", true, 1, "名称"},
        {"folder gets the number last", "名称", true, 2, "名称 (2)"},
        {"folder keeps a dot inside", "dir.d", true, 3, "dir.d (3)"},
        {"file keeps its extension last", "a.txt", false, 2, "a (2).txt"},
        {"only the last extension", "x.tar.gz", false, 2, "x.tar (2).gz"},
        {"leading dot is no extension", ".bashrc", false, 2, ".bashrc (2)"},
        {"file without extension", "README", false, 12, "README (12)"},
        {"raw bytes pass through", std::string("\xff\xfe.b"), false, 2,
         std::string("\xff\xfe (2).b")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::NumberedName(r.base, r.isFolder, r.number), r.want);
    }
}

TEST(PermissionText, ShowsTypeClassesAndSpecialBits) {
    struct Row {
        const char* name;
        std::uint32_t mode;
        const char* text;
        const char* octal;
    };
    const Row rows[] = {
        {"usual folder", 040755, "drwxr-xr-x", "0755"},
        {"private file", 0100600, "-rw-------", "0600"},
        {"sticky shared folder", 041777, "drwxrwxrwt", "1777"},
        {"sticky without execute", 041776, "drwxrwxrwT", "1776"},
        {"set-user-id program", 0104755, "-rwsr-xr-x", "4755"},
        {"set-group-id without execute", 0102644, "-rw-r-Sr--", "2644"},
        {"link", 0120777, "lrwxrwxrwx", "0777"},
        {"nothing allowed", 040000, "d---------", "0000"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::PermissionText(r.mode), r.text);
        EXPECT_EQ(engine::OctalPermissionText(r.mode), r.octal);
    }
}
