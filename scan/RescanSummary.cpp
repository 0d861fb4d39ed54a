#include "scan/RescanSummary.h"

#include "lists/DisplayFormat.h"

namespace vyp {

std::string ChangeCountsText(std::string_view caption, size_t added, size_t removed,
                             size_t changed) {
    return std::string(caption) + ": přidáno " + std::to_string(added) + ", odebráno " +
           std::to_string(removed) + ", změněno " + std::to_string(changed);
}

std::vector<std::string> RescanSummaryLines(const RescanSummary& summary,
                                            const RegionalSettings& regional) {
    std::vector<std::string> lines;
    if (summary.NothingChanged())
        lines.push_back("Seznam odpovídá obsahu složky, nic se nezměnilo.");
    lines.push_back(ChangeCountsText("Složky", summary.foldersAdded, summary.foldersRemoved,
                                     summary.foldersChanged));
    if (summary.foldersOnly)
        lines.push_back("Soubory: seznam obsahuje pouze adresářovou strukturu");
    else
        lines.push_back(ChangeCountsText("Soubory", summary.filesAdded, summary.filesRemoved,
                                         summary.filesChanged));
    lines.push_back("Počet složek: " + std::to_string(summary.folders) +
                    ", počet souborů: " + std::to_string(summary.files) +
                    ", velikost: " + FormatTreeSize(std::to_string(summary.total), regional));
    if (summary.unreadableFolders > 0)
        lines.push_back(
            "Nepodařilo se přečíst složek: " + std::to_string(summary.unreadableFolders) +
            " (přístup odepřen nebo příliš dlouhá cesta); jsou v seznamu s "
            "velikostí 0 a bez obsahu.");
    return lines;
}

std::string MostWouldDisappearText(const RescanSummary& summary) {
    return "Ze seznamu by zmizelo " + std::to_string(summary.Removed()) + " z " +
           std::to_string(summary.oldEntries) +
           " položek, víc než polovina. Je vložen správný disk?";
}

std::string RootUnavailableText(const std::string& root) {
    return "Složku \"" + root +
           "\" nelze otevřít; vložte disk, ze kterého byl seznam vytvořen. Seznam zůstal "
           "beze změny.";
}

} // namespace vyp
