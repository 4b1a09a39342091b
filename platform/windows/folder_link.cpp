// Windows links are left unread: reading one needs the file system's own
// reparse data, and the missing-pictures message names the link itself anyway.
#include "platform/api/folder_link.h"

std::string FolderLinkTarget(const char*) {
    return "";
}
