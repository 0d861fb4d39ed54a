#include "ui/duplicates_u/DuplicateNodes.h"

#include "lists/DisplayFormat.h"
#include "qtcore/NameCollator.h"
#include "qtcore/Utf8.h"
#include "search/DuplicatesCsv.h"
#include "ui/Vypisnik_u/ExtensionIconCache.h"

namespace vyp {

namespace {
template <typename T> int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}
} // namespace

DuplicateNodes::DuplicateNodes(ExtensionIconCache& icons, RegionalSettings regional)
    : m_icons(icons), m_regional(std::move(regional)) {}

std::vector<TreeGridColumn> DuplicateNodes::Columns() {
    return {{QStringLiteral("Soubor"), 300, Qt::AlignLeft},
            {QStringLiteral("Kopií"), 50, Qt::AlignRight},
            {QStringLiteral("Zbytečně zabráno"), 110, Qt::AlignRight},
            {QStringLiteral("Seznam"), 110, Qt::AlignLeft},
            {QStringLiteral("Velikost"), 90, Qt::AlignRight},
            {QStringLiteral("Datum"), 70, Qt::AlignLeft},
            {QStringLiteral("Čas"), 60, Qt::AlignLeft}};
}

void DuplicateNodes::Assign(DuplicateResult&& result, std::vector<std::string> listNames) {
    m_result = std::move(result);
    m_listNames = std::move(listNames);
    m_extImages.clear();
    for (const SearchRow copy : m_result.copies) {
        const std::string_view ext = copy.Extension();
        if (m_extImages.find(ext) == m_extImages.end())
            m_extImages.emplace(std::string(ext), m_icons.ImageIndexForExt(ext));
    }
}

std::string_view DuplicateNodes::ListName(const SearchRow& copy) const {
    const auto list = static_cast<size_t>(copy.ListIndex());
    return list < m_listNames.size() ? std::string_view(m_listNames[list]) : std::string_view();
}

QString DuplicateNodes::Text(uint64_t payload, int column) const {
    if (!IsCopy(payload)) {
        const DuplicateSet& set = m_result.sets[IndexOf(payload)];
        const QString size = Utf8(FormatTreeSize(std::to_string(set.size), m_regional));
        switch (static_cast<Column>(column)) {
        case Soubor:
            return QStringLiteral("%1×  %2  %3")
                .arg(set.copies)
                .arg(Utf8(m_result.NameOf(set)), size);
        case Pocet:
            return QString::number(set.copies);
        case Zbytecne:
            return Utf8(FormatTreeSize(std::to_string(set.wasted), m_regional));
        case Velikost:
            return size;
        case Seznam:
        case Datum:
        case Cas:
            return {};
        }
        return {};
    }
    const SearchRow copy = m_result.copies[IndexOf(payload)];
    switch (static_cast<Column>(column)) {
    case Soubor:
        return Utf8(copy.Path());
    case Seznam:
        return Utf8(ListName(copy));
    case Velikost:
        return Utf8(FormatTreeSize(copy.SizeText(), m_regional));
    case Datum:
        return Utf8(copy.DateText());
    case Cas:
        return Utf8(copy.TimeText());
    case Pocet:
    case Zbytecne:
        return {};
    }
    return {};
}

int DuplicateNodes::Image(uint64_t payload, int column) const {
    if (column == Seznam && IsCopy(payload))
        return ExtensionIconCache::kListPicture;
    if (column != Soubor)
        return -1;
    const SearchRow copy =
        m_result
            .copies[IsCopy(payload) ? IndexOf(payload) : m_result.sets[IndexOf(payload)].firstCopy];
    const auto known = m_extImages.find(copy.Extension());
    return known != m_extImages.end() ? known->second : ExtensionIconCache::kBlankDocument;
}

int DuplicateNodes::Compare(uint64_t a, uint64_t b, int column,
                            const NameCollator& collator) const {
    if (IsCopy(a) || IsCopy(b))
        return 0; // a set's copies stay in the order of their lists and lines
    const DuplicateSet& x = m_result.sets[IndexOf(a)];
    const DuplicateSet& y = m_result.sets[IndexOf(b)];
    switch (static_cast<Column>(column)) {
    case Soubor:
        return collator.Compare(m_result.NameOf(x), m_result.NameOf(y));
    case Pocet:
        return Order(x.copies, y.copies);
    case Zbytecne:
        return Order(x.wasted, y.wasted);
    case Velikost:
        return Order(x.size, y.size);
    case Seznam:
    case Datum:
    case Cas:
        return 0;
    }
    return 0;
}

void DuplicateNodes::AppendSetCsv(size_t setNumber, size_t set, std::string& out) const {
    const DuplicateSet& shown = m_result.sets[set];
    for (size_t c = shown.firstCopy; c < shown.firstCopy + shown.copies; ++c) {
        const SearchRow copy = m_result.copies[c];
        AppendDuplicateCopyCsv(setNumber, copy, ListName(copy), m_regional, out);
    }
}

QString DuplicateNodes::SetCountText() const {
    return QStringLiteral("Sad: %1").arg(m_result.sets.size());
}

QString DuplicateNodes::WastedText() const {
    return QStringLiteral("Zbytečně zabráno: ") +
           Utf8(FormatTreeSize(std::to_string(m_result.wasted), m_regional));
}

} // namespace vyp
