#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "engine/engine.h"

TEST(RenameFailureText, GivesTheShortChineseReason) {
    struct Row {
        const char* name;
        int error;
        const char* want;
    };
    const Row rows[] = {
        {"target exists", EEXIST, "目标已存在"},
        {"folder target not empty", ENOTEMPTY, "目标已存在"},
        {"source gone", ENOENT, "找不到文件或文件夹"},
        {"no permission", EACCES, "拒绝访问"},
        {"not permitted", EPERM, "拒绝访问"},
        {"too long", ENAMETOOLONG, "文件名过长"},
        {"read-only", EROFS, "只读文件系统"},
        {"other file system", EXDEV, "不能跨文件系统移动"},
        {"invalid", EINVAL, "文件名无效"},
        {"bad bytes", EILSEQ, "文件名无效"},
        {"refused before the call", engine::rrInvalidName, "文件名无效"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::RenameFailureText(r.error), r.want);
    }
}

TEST(RenameFailureText, FallsBackToTheSystemText) {
    EXPECT_EQ(engine::RenameFailureText(EIO), std::strerror(EIO));
}
