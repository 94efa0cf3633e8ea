// Embedded files and "prog:" links of the open hypertext, handed to LinkedFiles.
#include "app/MainFormLinks.h"

#include "base/Paths.h"
#include "model/uKYTset.h"

namespace orvo {

std::string EmbeddedObjectFile::FileName() const {
    return object_.FileName();
}

Result<std::filesystem::path> EmbeddedObjectFile::ExtractContent() {
    const std::string path = object_.ExtractContent();
    // ExtractContent has told the user why it failed.
    if (path.empty()) return Fail("Errore nella scrittura file " + object_.FileName());
    return NativePath(path);
}

Status EmbeddedObjectFile::SaveContentAs(const std::filesystem::path& target) {
    if (!object_.SaveContentAs(NameOfPath(target)))
        return Fail("Errore nella scrittura file " + NameOfPath(target));
    return Status::Ok();
}

std::string ProgramParametersOf(TKYToggetto* link) {
    if (!link) return {};
    std::vector<std::pair<std::string, std::string>> attributes;
    if (link->Kind() == TOggettiHel::dbloc) {
        const std::vector<std::string>& lines = link->DbAttributes();
        for (std::size_t i = 0; i + 1 < lines.size(); i += 2)
            attributes.emplace_back(lines[i], lines[i + 1]);
    }
    const std::string auxiliary = link->Auxiliary().value_or(std::string());
    return BuildProgramParameters(attributes, auxiliary);
}

void LinkedFilesPort::OpenLinkedFile(TKYToggetto& genLink) {
    EmbeddedObjectFile file(genLink);
    files_.openLinkedFile(file);
}

void LinkedFilesPort::RunRegisteredProgram(const std::string& address, TKYToggetto* link) {
    files_.runRegisteredProgram(address, ProgramParametersOf(link),
                                openDocument_.WorkingDirectory());
}

}  // namespace orvo
