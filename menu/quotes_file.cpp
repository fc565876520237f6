#include "app/pet_controller.h"
#include "menu/quotes.h"

namespace glugmo {

void PetController::loadQuotes() {
    quotes = defaultQuotes;
    const std::optional<std::string> support = platform.files.applicationSupportDirectory();
    if (!support) return;
    const std::string folder = *support + "/" + std::string(kQuotesFolderName);
    const std::string file = folder + "/" + std::string(kQuotesFileName);

    if (platform.files.fileExists(file)) {
        const std::optional<std::string> bytes = platform.files.readFile(file);
        if (!bytes) return;
        std::optional<std::vector<std::string>> lines = parseQuotes(*bytes);
        if (lines && !lines->empty()) quotes = std::move(*lines);
        return;
    }
    // First launch: leave the built-in quips where the user can edit them.
    platform.files.createDirectories(folder);
    platform.files.writeFileAtomically(file, serializeQuotes(defaultQuotes));
}

}  // namespace glugmo
