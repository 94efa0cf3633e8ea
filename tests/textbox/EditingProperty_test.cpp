// Random sequences of edits on every page of the sample hypertext (fixed seeds): after every
// edit the text reads back to what was written, and undoing every step gives the page's
// original markup byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "EditingActions.h"
#include "EditingSupport.h"
#include "model/SampleHypertext.h"

namespace orvo::test {
namespace {

class EditingProperty : public EditingTest {};

TEST_F(EditingProperty, RandomEditsReadBackAndUndoToTheOriginalBytes) {
    MakeSampleHypertext(set_);
    undo_.SetDepth(100000);
    int pages = 0;
    std::size_t totalSteps = 0;
    for (const auto& object : set_.KindList(TOggettiHel::testoHtml)) {
        if (!object || object->IsFree()) continue;
        ++pages;
        for (unsigned seed = 1; seed <= 4; ++seed) {
            OpenPage(*object);
            undo_.Clear();
            const std::string original = Markup();
            std::mt19937 random(seed * 7919 + unsigned(object->Identifier()));
            EditingDriver driver(*editing_, set_, *host_);
            for (int step = 0; step < 60; ++step) {
                const std::string action = driver.RandomAction(random);
                const std::string written = Markup();
                SCOPED_TRACE("page " + std::to_string(object->Identifier()) + " seed " +
                             std::to_string(seed) + " step " + std::to_string(step) + ": " +
                             action);
                ASSERT_EQ(driver.Problem(), "");
                ASSERT_EQ(Rewrite(written + '\0', *host_), written + '\0');
            }
            const std::size_t steps = undo_.Count();
            totalSteps += steps;
            UndoAll();
            EXPECT_EQ(Markup(), original)
                << "page " << object->Identifier() << " seed " << seed << ", " << steps << " steps";
        }
    }
    EXPECT_GE(pages, 5);
    EXPECT_GT(totalSteps, std::size_t(pages) * 4 * 30);
}

}  // namespace
}  // namespace orvo::test
