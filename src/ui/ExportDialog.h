#pragma once

#include "CsvExport.h"
#include "DeviceDialog.h"

#include <functional>

namespace tripvane {

// "Export File Options": 1085 for the trips, 1100 for the report. A name under the name rule,
// the encoding and the folder; OK writes the file through the given export and says "OK !".
class ExportDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    enum class Kind { Trips, Report };
    // The controls of the trips' dialog; those of the report's follow from them (reportId).
    enum Control {
        FileGroup = 1086,
        NameLabel = 1087,
        NameEdit = 1088,
        TypeGroup = 1089,
        AsciiRadio = 1090,
        UnicodeRadio = 1091,
        FolderGroup = 1092,
        BusinessRadio = 1093,
        PersonalRadio = 1094,
        CancelButton = 1095,
        OkButton = 1096,
    };
    static constexpr int SuccessCode = 1;
    static constexpr int reportId(int id)
    {
        return id == CancelButton ? 1111 : id == OkButton ? 1110 : id + 15;
    }

    using Export = std::function<int(const QString &name, const ExportOptions &options)>;
    // The remembered name is offered, and replaced by each name that passes the rule; the
    // program takes it back afterwards, with the file type and folder last chosen (they stand
    // even when the export then failed).
    ExportDialog(Services &services, const ExportOptions &options, Kind kind,
                 QString rememberedName, Export exportFile);
    const QString &rememberedName() const { return m_rememberedName; }
    const ExportOptions &chosenOptions() const { return m_options; }

    int okCode() const override { return id(OkButton); }
    int cancelCode() const override { return id(CancelButton); }
    int id(Control control) const { return m_kind == Kind::Report ? reportId(control) : control; }

private:
    void accept() override;

    ExportOptions m_options;
    Kind m_kind;
    QString m_rememberedName;
    Export m_export;
};

} // namespace tripvane
