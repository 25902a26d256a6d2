// Page 601 "一般": the start folder, the folder switches and the largest file
// read into memory.
#include "settings/SETPAGE.h"

#include "resources/RESOURCE.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kIdStartFolder = 1024;
constexpr int kIdBrowse = 1025;
constexpr int kIdShowLastFolder = 1026;
constexpr int kIdShowFolderInList = 1027;
constexpr int kIdMonitorFolder = 1028;
constexpr int kIdMemorySize = 1029;
constexpr int kIdMemorySpin = 1030;
constexpr int kMaxKilobytes = 1000000;

class CLSGeneralPage : public CLSSettingsPage {
public:
    CLSGeneralPage() : CLSSettingsPage(0, IDD_SET_GENERAL, 2002) {}

protected:
    void OnInit(HWND hDlg, const CLSGlimSettings& settings) override
    {
        SetDlgItemTextW(hDlg, kIdStartFolder, settings.GetStartFolder().c_str());
        Check(hDlg, kIdShowLastFolder, settings.GetFlag(CLSGlimSettings::kShowLastFolder));
        Check(hDlg, kIdShowFolderInList, settings.GetFlag(CLSGlimSettings::kShowFolderInFileList));
        Check(hDlg, kIdMonitorFolder, settings.GetFlag(CLSGlimSettings::kMonitorFolder));
        SendDlgItemMessageA(hDlg, kIdMemorySpin, UDM_SETRANGE32, 1, kMaxKilobytes);
        // A hand-edited negative size shows as the large number it is taken
        // for, and is refused when applied.
        char text[16];
        std::snprintf(text, sizeof(text), "%u", static_cast<unsigned>(settings.GetMaxMemFileSize() / 1024));
        SetDlgItemTextA(hDlg, kIdMemorySize, text);
    }

    bool OnApply(HWND hDlg, CLSGlimSettings& settings) override
    {
        std::uint32_t kilobytes = 0;
        if (!ReadRange(hDlg, kIdMemorySize, "メモリに読み込む最大ファイルサイズ", 1, kMaxKilobytes, kilobytes)) {
            return false;
        }
        // Stored even while disabled; the sheet's edits are Unicode, so the
        // folder comes back exactly as it was shown or typed.
        settings.SetStartFolder(FieldText(hDlg, kIdStartFolder));
        settings.SetFlag(CLSGlimSettings::kShowLastFolder, IsChecked(hDlg, kIdShowLastFolder));
        settings.SetFlag(CLSGlimSettings::kShowFolderInFileList, IsChecked(hDlg, kIdShowFolderInList));
        settings.SetFlag(CLSGlimSettings::kMonitorFolder, IsChecked(hDlg, kIdMonitorFolder));
        settings.SetMaxMemFileSize(static_cast<int>(kilobytes * 1024));
        return true;
    }

    void OnButton(HWND hDlg, int id) override
    {
        if (id == kIdBrowse) {
            RunFolderChooser(hDlg, kIdStartFolder, IDS_BROWSE_START_FOLDER);
        }
    }

    int EnableRuleBox() const override { return kIdShowLastFolder; }
    void ApplyEnableRule(HWND hDlg, bool bChecked) override
    {
        EnableWindow(GetDlgItem(hDlg, kIdStartFolder), !bChecked);
        EnableWindow(GetDlgItem(hDlg, kIdBrowse), !bChecked);
    }

    bool IsNumericField(int id) const override { return id == kIdMemorySize; }
};

}  // namespace

CLSSettingsPage& GeneralPage()
{
    static CLSGeneralPage page;
    return page;
}
