// Importing paragraph styles from another hypertext: its styles are offered (the two built-in
// ones left out, since every hypertext has its own), those not already here with the same name
// and format ticked, and the ticked ones copied into the open hypertext as new styles whose
// names are made unique.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvo {

class TKYTset;

/// One style of the other hypertext as the chooser offers it.
struct OfferedStyle {
    std::string name;         // Windows-1252, as stored there
    std::int32_t number = 0;  // its number there
    bool present = false;     // a style with this name and format is already here
    bool chosen = false;
};

class StyleImportRules {
public:
    explicit StyleImportRules(TKYTset& set);
    ~StyleImportRules();

    /// Reads the other hypertext and offers its styles; false (the failure already shown,
    /// nothing offered) when it cannot be read.
    bool Open(const std::string& fileName);
    const std::string& FileName() const { return fileName_; }

    const std::vector<OfferedStyle>& Offered() const { return offered_; }
    void Choose(std::size_t index, bool chosen);
    void ChooseAll(bool chosen);
    std::size_t ChosenCount() const;

    /// Copies the chosen styles into the open hypertext (each a new style: format as there,
    /// a unique name, not built-in) and marks it modified. Returns the new styles' numbers.
    std::vector<std::int32_t> Import();

private:
    TKYTset& set_;
    std::unique_ptr<TKYTset> other_;
    std::string fileName_;
    std::vector<OfferedStyle> offered_;
};

}  // namespace orvo
