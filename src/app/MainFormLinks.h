// The main window's link port over the program's linked-file operations: embedded files of
// the open hypertext and "prog:" addresses reach LinkedFiles through it.
#pragma once

#include "app/LinkedFiles.h"
#include "app/MainFormPorts.h"

namespace orvo {

class TKYTset;
class TKYToggetto;

/// An embedded file (a genLink object) as LinkedFiles takes it.
class EmbeddedObjectFile final : public IEmbeddedFile {
public:
    explicit EmbeddedObjectFile(TKYToggetto& object) : object_(object) {}
    std::string FileName() const override;
    Result<std::filesystem::path> ExtractContent() override;
    Status SaveContentAs(const std::filesystem::path& target) override;

private:
    TKYToggetto& object_;
};

/// The parameters a "prog:" link hands to its program: a dbloc's attributes, then the
/// object's auxiliary data after its header.
std::string ProgramParametersOf(TKYToggetto* link);

class LinkedFilesPort final : public ILinkedFiles {
public:
    LinkedFilesPort(LinkedFiles& files, TKYTset& openDocument)
        : files_(files), openDocument_(openDocument) {}
    void OpenLinkedFile(TKYToggetto& genLink) override;
    /// The parameters file goes to the open document's working folder.
    void RunRegisteredProgram(const std::string& address, TKYToggetto* link) override;

private:
    LinkedFiles& files_;
    TKYTset& openDocument_;
};

}  // namespace orvo
