// Helper process for the document tests: opens a file the way another program
// would, signals the named "ready" event and holds the file until the named
// "quit" event is set. Usage: lockhold <path> <read|write|exclusive> <ready> <quit>
#include <windows.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 5) {
        return 2;
    }
    DWORD access = GENERIC_READ;
    DWORD share = FILE_SHARE_READ;
    if (std::strcmp(argv[2], "write") == 0) {
        access = GENERIC_WRITE;
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    } else if (std::strcmp(argv[2], "exclusive") == 0) {
        share = 0;
    }
    HANDLE file = CreateFileA(argv[1], access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    HANDLE quit = OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
    if (ready == nullptr || quit == nullptr) {
        return 4;
    }
    SetEvent(ready);
    WaitForSingleObject(quit, 30000);
    CloseHandle(file);
    return 0;
}
