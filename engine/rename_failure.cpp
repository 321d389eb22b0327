#include "engine/engine.h"

#include <cerrno>
#include <cstring>

#include "engine/messages.h"

namespace engine {

std::string RenameFailureText(int error) {
    namespace m = messages;
    switch (error) {
    case EEXIST:
    case ENOTEMPTY: return std::string(m::TargetExists);
    case ENOENT: return std::string(m::NotFound);
    case EACCES:
    case EPERM: return std::string(m::AccessDenied);
    case ENAMETOOLONG: return std::string(m::NameTooLong);
    case EROFS: return std::string(m::ReadOnlyFileSystem);
    case EXDEV: return std::string(m::CrossDevice);
    case EINVAL:
    case EILSEQ:
    case rrInvalidName: return std::string(m::InvalidName);
    default: return std::strerror(error);
    }
}

} // namespace engine
