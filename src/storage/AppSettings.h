#pragma once

#include "Rates.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tripvane {

class ObjectStore;

// The user's choices that outlive a run, kept in the device registry under
// Software\<maker>\<product>\Settings; the installed version lives one key up.
struct AppSettings
{
    QString makerName;
    QString productName;
    std::uint32_t MinorVersion = 0;
    std::uint32_t MajorVersion = 0;
    std::uint32_t Sort = 0;
    std::uint32_t SortOrder = 2;
    std::uint32_t SortRapport = 0;
    std::uint32_t SortOrderRapport = 0;
    std::uint32_t SortMileageBook = 0;
    std::uint32_t SortOrderMileageBook = 0;
    std::uint32_t DateTypeView = 0;
    std::uint32_t DistanceTypeView = 0;
    std::uint32_t ExportFileType = 0;
    std::uint32_t ExportFileFolder = 1;
    std::uint32_t CatRecsApply = 0;

    // A value is taken only when it is a DWORD within its bound; otherwise the field keeps
    // what it had. Missing keys are no failure.
    bool load(ObjectStore &registry, const QString &maker, const QString &product);
    bool save(ObjectStore &registry) const;

    QString versionKeyPath() const;
    QString settingsKeyPath() const;
    QString ratesKeyPath() const;
};

// The rates live beside the settings as one text value: a store that holds them is the same
// store to a program that knows nothing of rates. No value is an empty table; nothing, when the
// value cannot be read as one.
std::optional<RateTable> loadRates(ObjectStore &registry, const AppSettings &settings);
bool saveRates(ObjectStore &registry, const AppSettings &settings, const RateTable &table);

} // namespace tripvane
