// What the program learns from the machine it runs on: the user, folders, the screen's
// resolution, the clock and a random source. Injected so tests are deterministic.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

namespace orvo {

class Environment {
public:
    virtual ~Environment() = default;
    /// The login name of the user (Windows-1252).
    virtual std::string UserName() const = 0;
    /// The folder under which the program makes its private working folder: $TMPDIR, else /tmp.
    virtual std::filesystem::path TempRoot() const = 0;
    /// Screen pixels per inch: 96 headless.
    virtual int PixelsPerInch() const = 0;
    virtual std::chrono::system_clock::time_point Now() const = 0;
    /// A random number in [0, bound).
    virtual std::uint32_t Random(std::uint32_t bound) = 0;
    /// Where the user's settings file lives: $ORVO_HOME, else $XDG_CONFIG_HOME/orvo
    /// (~/.config/orvo).
    virtual std::filesystem::path UserConfigDir() const = 0;
    /// The user's writable folders (Custom, Docs, Templates, ...): $ORVO_HOME, else
    /// $XDG_DATA_HOME/orvo (~/.local/share/orvo).
    virtual std::filesystem::path UserDataDir() const = 0;
    /// The read-only files shipped with the program (share/orvo under the install prefix).
    virtual std::filesystem::path ShareDir() const = 0;
};

/// The real machine.
class SystemEnvironment final : public Environment {
public:
    SystemEnvironment();
    std::string UserName() const override;
    std::filesystem::path TempRoot() const override;
    int PixelsPerInch() const override { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }
    std::chrono::system_clock::time_point Now() const override;
    std::uint32_t Random(std::uint32_t bound) override;
    std::filesystem::path UserConfigDir() const override;
    std::filesystem::path UserDataDir() const override;
    std::filesystem::path ShareDir() const override;

private:
    int pixelsPerInch_ = 96;
    std::mt19937 random_;
};

/// Same answers every run: user "utente", 96 ppi, a settable clock (2024-01-02 03:04:05 UTC at
/// first), a seeded random source; folders from the process environment as for the system.
class FixedEnvironment final : public Environment {
public:
    FixedEnvironment();
    std::string UserName() const override { return userName_; }
    std::filesystem::path TempRoot() const override;
    int PixelsPerInch() const override { return pixelsPerInch_; }
    std::chrono::system_clock::time_point Now() const override { return now_; }
    std::uint32_t Random(std::uint32_t bound) override;
    std::filesystem::path UserConfigDir() const override;
    std::filesystem::path UserDataDir() const override;
    std::filesystem::path ShareDir() const override;

    void SetUserName(std::string name) { userName_ = std::move(name); }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }
    void SetNow(std::chrono::system_clock::time_point t) { now_ = t; }
    void Advance(std::chrono::milliseconds d) { now_ += d; }
    void SetTempRoot(std::filesystem::path p) { tempRoot_ = std::move(p); }

private:
    std::string userName_ = "utente";
    int pixelsPerInch_ = 96;
    std::chrono::system_clock::time_point now_;
    std::mt19937 random_{12345};
    std::filesystem::path tempRoot_;
};

}  // namespace orvo
