// LibreOffice run headless as the word processor of ".doc" conversions.
#include "platform/WordProcessor.h"

#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <system_error>

#include "platform/IShell.h"

namespace orvo {

namespace {

// What the waiter thread of a started program tells the converting thread.
struct Waiter {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    int status = -1;
};

}  // namespace

std::filesystem::path FindOnPath(std::string_view program, std::string_view path) {
    if (program.empty()) return {};
    if (program.find('/') != std::string_view::npos) {
        const std::filesystem::path given(program);
        return ::access(given.c_str(), X_OK) == 0 ? given : std::filesystem::path();
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view folder = path.substr(start, end - start);
        if (!folder.empty()) {
            const std::filesystem::path candidate = std::filesystem::path(folder) / program;
            std::error_code ec;
            if (std::filesystem::is_regular_file(candidate, ec) &&
                ::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

std::string FileUrl(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
    if (ec) absolute = folder;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (char c : absolute.lexically_normal().string()) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            url += c;
        } else {
            url += '%';
            url += kHex[u >> 4];
            url += kHex[u & 15];
        }
    }
    return url;
}

LibreOfficeWordProcessor::LibreOfficeWordProcessor(IShell& shell, std::filesystem::path profile,
                                                   std::chrono::milliseconds timeout)
    : shell_(shell), profile_(std::move(profile)), timeout_(timeout) {}

std::filesystem::path LibreOfficeWordProcessor::Program() const {
    if (!program.empty()) return program;
    const char* path = std::getenv("PATH");
    return FindOnPath("soffice", path ? path : "");
}

bool LibreOfficeWordProcessor::Available() const {
    return !Program().empty();
}

std::vector<std::string> LibreOfficeWordProcessor::Arguments(
    const std::filesystem::path& file, std::string_view format,
    const std::filesystem::path& folder) const {
    return {Program().string(), "-env:UserInstallation=" + FileUrl(profile_),
            "--headless",       "--norestore",
            "--convert-to",     std::string(format),
            "--outdir",         folder.string(),
            file.string()};
}

Result<std::filesystem::path> LibreOfficeWordProcessor::Convert(
    const std::filesystem::path& file, std::string_view format,
    const std::filesystem::path& folder) {
    if (Program().empty()) return Fail(std::string(kNoWordProcessor));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return Fail("no such file: " + file.string());
    std::filesystem::create_directories(folder, ec);
    std::filesystem::create_directories(profile_, ec);
    const std::string extension(format.substr(0, format.find(':')));
    if (extension.empty() || extension.find('/') != std::string::npos)
        return Fail("bad format: " + std::string(format));
    const std::filesystem::path target = folder / (file.stem().string() + "." + extension);
    // A file left by an earlier run must not pass for this run's result.
    std::filesystem::remove(target, ec);

    auto waiter = std::make_shared<Waiter>();
    Result<int> process = shell_.Start({Arguments(file, format, folder), {}}, [waiter](int status) {
        std::lock_guard lock(waiter->mutex);
        waiter->done = true;
        waiter->status = status;
        waiter->ended.notify_all();
    });
    if (!process) return process.failure();
    std::unique_lock lock(waiter->mutex);
    if (!waiter->ended.wait_for(lock, timeout_, [&] { return waiter->done; })) {
        lock.unlock();
        shell_.Terminate(*process);
        return Fail("soffice did not finish in " + std::to_string(timeout_.count()) + " ms");
    }
    if (waiter->status != 0)
        return Fail("soffice ended with status " + std::to_string(waiter->status));
    if (!std::filesystem::is_regular_file(target, ec))
        return Fail("soffice wrote no " + target.string());
    return target;
}

}  // namespace orvo
