#include "tests/wine/host_runner.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <stb_image.h>

std::string BinFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

HostRun RunHost(const std::string& arguments, const std::string& probeLog, unsigned timeoutMs,
                const std::function<void(unsigned long)>& whileRunning) {
    HostRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    const std::string folder = BinFolder();
    std::string command = "\"" + folder + "vis_host.exe\" " + arguments;
    SetEnvironmentVariableA("PROBE_LOG", probeLog.empty() ? nullptr : probeLog.c_str());
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup, &process);
    SetEnvironmentVariableA("PROBE_LOG", nullptr);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        run.output = "cannot start vis_host.exe";
        return run;
    }
    // Read on a thread so that a full pipe cannot stall the child. Reading
    // ends once the child has ended and all it wrote is read, not at the end
    // of the pipe: when no desktop is up yet, the child's first window starts
    // Wine's desktop process, which gets copies of the child's standard
    // handles and holds the pipe open until the desktop closes.
    struct Reader {
        HANDLE pipe, process;
        std::string text;
        static DWORD WINAPI Run(void* self) {
            auto* reader = static_cast<Reader*>(self);
            char buffer[4096];
            for (;;) {
                // Looked at before the pipe: whatever it wrote before it ended is there.
                const bool ended = WaitForSingleObject(reader->process, 0) == WAIT_OBJECT_0;
                DWORD available = 0, got = 0;
                if (!PeekNamedPipe(reader->pipe, nullptr, 0, nullptr, &available, nullptr)) return 0;
                if (available) {
                    if (!ReadFile(reader->pipe, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr))
                        return 0;
                    reader->text.append(buffer, got);
                } else if (ended) {
                    return 0;
                } else {
                    WaitForSingleObject(reader->process, 10);
                }
            }
        }
    } reader{readEnd, process.hProcess, {}};
    HANDLE thread = CreateThread(nullptr, 0, Reader::Run, &reader, 0, nullptr);
    if (whileRunning) whileRunning(process.dwProcessId);
    std::string notes;  // what went wrong around the child, after its own output
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, INFINITE);
        notes += "\n[vis_host did not end within " + std::to_string(timeoutMs) + " ms and was terminated]";
    } else {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        run.exitCode = int(code);
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    run.output = reader.text + notes;
    return run;
}

void* FindPlayerWindow(unsigned long processId, unsigned timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        for (HWND window = FindWindowA("vis_host player", nullptr); window;
             window = FindWindowExA(nullptr, window, "vis_host player", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId) return window;
        }
        Sleep(20);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

std::string NewTempFolder(const std::string& stem) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // Process ids come round again under Wine: take the first free name.
    for (unsigned n = GetTickCount();; ++n) {
        const std::string folder = std::string(temp) + stem + "-" + std::to_string(n);
        if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return folder;
    }
}

void RemoveFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

RgbImage ReadPng(const std::string& path) {
    RgbImage image;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &image.width, &image.height, &channels, 3);
    if (!pixels) return {};
    image.pixels.assign(pixels, pixels + std::size_t(image.width) * image.height * 3);
    stbi_image_free(pixels);
    return image;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
