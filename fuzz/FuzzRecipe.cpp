// Parses the bytes as a recipe, as `fotakle-batch apply` and the editor do.
// A recipe that is read must write again and read back to the same steps,
// and its Recover steps must resolve.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "history/EditStep.h"
#include "history/Recipe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const RecipeResult read =
        ParseRecipe(std::string_view(reinterpret_cast<const char*>(data), size));
    if (read.Ok()) {
        const RecipeResult again = ParseRecipe(FormatRecipe(read.steps));
        if (!again.Ok() || again.steps.size() != read.steps.size() ||
            EffectiveSteps(read.steps).empty()) {
            std::abort();
        }
    }
    return 0;
}
