#include "AppSettings.h"

#include "ObjectStore.h"

#include <array>

namespace tripvane {

namespace {

struct Field
{
    const char *name;
    std::uint32_t AppSettings::*member;
    std::uint32_t bound;
};

constexpr std::array<Field, 2> versionFields{{
    {"MajorVersion", &AppSettings::MajorVersion, 2},
    {"MinorVersion", &AppSettings::MinorVersion, 99},
}};

constexpr std::array<Field, 11> settingFields{{
    {"Sort", &AppSettings::Sort, 0},
    {"SortOrder", &AppSettings::SortOrder, 2},
    {"SortRapport", &AppSettings::SortRapport, 1},
    {"SortOrderRapport", &AppSettings::SortOrderRapport, 2},
    {"SortMileageBook", &AppSettings::SortMileageBook, 1},
    {"SortOrderMileageBook", &AppSettings::SortOrderMileageBook, 2},
    {"DateTypeView", &AppSettings::DateTypeView, 3},
    {"DistanceTypeView", &AppSettings::DistanceTypeView, 1},
    {"ExportFileType", &AppSettings::ExportFileType, 1},
    {"ExportFileFolder", &AppSettings::ExportFileFolder, 1},
    {"CatRecsApply", &AppSettings::CatRecsApply, 1},
}};

template<std::size_t N>
void readFields(ObjectStore &registry, const QString &path, const std::array<Field, N> &fields,
                AppSettings &settings)
{
    if (!registry.keyExists(path))
        return;
    for (const Field &field : fields) {
        const auto value = registry.queryValue(path, QString::fromLatin1(field.name));
        if (value && value->type == REG_DWORD && value->dword <= field.bound)
            settings.*field.member = value->dword;
    }
}

template<std::size_t N>
bool writeFields(ObjectStore &registry, const QString &path, const std::array<Field, N> &fields,
                 const AppSettings &settings)
{
    if (!registry.keyExists(path) && !registry.createKey(path))
        return false;
    bool allWritten = true;
    for (const Field &field : fields) {
        allWritten = registry.setValue(path, QString::fromLatin1(field.name),
                                       {REG_DWORD, settings.*field.member, {}}) &&
                     allWritten;
    }
    return allWritten;
}

} // namespace

QString AppSettings::versionKeyPath() const
{
    return QStringLiteral("Software\\") + makerName + u'\\' + productName;
}

QString AppSettings::settingsKeyPath() const
{
    return versionKeyPath() + QStringLiteral("\\Settings");
}

QString AppSettings::ratesKeyPath() const
{
    return versionKeyPath() + QStringLiteral("\\Rates");
}

bool AppSettings::load(ObjectStore &registry, const QString &maker, const QString &product)
{
    makerName = maker;
    productName = product;
    if (maker.isEmpty() || product.isEmpty())
        return false;
    readFields(registry, versionKeyPath(), versionFields, *this);
    readFields(registry, settingsKeyPath(), settingFields, *this);
    return true;
}

bool AppSettings::save(ObjectStore &registry) const
{
    if (makerName.isEmpty() || productName.isEmpty())
        return false;
    return registry.inTransaction([&] {
        // The version belongs to the installer, which may have written a new one while the
        // program ran: it is only filled in where no installation left a key.
        const bool version = registry.keyExists(versionKeyPath()) ||
                             writeFields(registry, versionKeyPath(), versionFields, *this);
        const bool settings = writeFields(registry, settingsKeyPath(), settingFields, *this);
        return version && settings;
    });
}

namespace {
const QString ratesValue = QStringLiteral("Table");
} // namespace

std::optional<RateTable> loadRates(ObjectStore &registry, const AppSettings &settings)
{
    const std::optional<RegistryValue> value =
        registry.queryValue(settings.ratesKeyPath(), ratesValue);
    if (!value)
        return RateTable();
    if (value->type != REG_SZ)
        return std::nullopt;
    return parseRateTable(value->text);
}

bool saveRates(ObjectStore &registry, const AppSettings &settings, const RateTable &table)
{
    const QString path = settings.ratesKeyPath();
    return registry.inTransaction([&] {
        return (registry.keyExists(path) || registry.createKey(path)) &&
               registry.setValue(path, ratesValue, {REG_SZ, 0, rateTableText(table)});
    });
}

} // namespace tripvane
