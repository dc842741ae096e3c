#include "model/file_version.h"

namespace kestra {

namespace {
int g_fileVersionBeingRead = kProgramFileVersion;
}

int FileVersionBeingRead() {
    return g_fileVersionBeingRead;
}

void SetFileVersionBeingRead(int version) {
    g_fileVersionBeingRead = version;
}

} // namespace kestra
