#include "tests/wine/host_runner.h"

#include <windows.h>

#include <fstream>

#include <stb_image.h>

std::string BinFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

HostRun RunHost(const std::string& arguments, const std::string& probeLog, unsigned timeoutMs) {
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
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                                        &startup, &process);
    SetEnvironmentVariableA("PROBE_LOG", nullptr);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        run.output = "cannot start vis_host.exe";
        return run;
    }
    // Read on a thread so that a full pipe cannot stall the child.
    struct Reader {
        HANDLE pipe;
        std::string text;
        static DWORD WINAPI Run(void* self) {
            auto* reader = static_cast<Reader*>(self);
            char buffer[4096];
            DWORD got = 0;
            while (ReadFile(reader->pipe, buffer, sizeof buffer, &got, nullptr) && got) reader->text.append(buffer, got);
            return 0;
        }
    } reader{readEnd, {}};
    HANDLE thread = CreateThread(nullptr, 0, Reader::Run, &reader, 0, nullptr);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, INFINITE);
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
    run.output = reader.text;
    return run;
}

std::string NewTempFolder(const std::string& stem) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    const std::string folder = std::string(temp) + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++counter);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
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
