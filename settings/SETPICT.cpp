// Pages 604 "画像" and 605 "オーディオ/ビデオ": the backgrounds of the picture
// and media views, the plug-in folder and automatic playing.
#include "settings/SETPAGE.h"

#include "resources/RESOURCE.h"

namespace {

constexpr int kIdBackColour = 1027;

// One background colour, the page's working copy.
class CLSBackColourPage : public CLSSettingsPage {
protected:
    using CLSSettingsPage::CLSSettingsPage;

    COLORREF* ColourSlot(int id) override { return id == kIdBackColour ? &m_crBack : nullptr; }

    COLORREF m_crBack = 0;
};

class CLSImagePage : public CLSBackColourPage {
public:
    CLSImagePage() : CLSBackColourPage(3, IDD_SET_IMAGE, 2005) {}

protected:
    static constexpr int kIdUseSPI = 1030;
    static constexpr int kIdSPIFolder = 1031;
    static constexpr int kIdBrowse = 1032;

    void OnInit(HWND hDlg, const CLSGlimSettings& settings) override
    {
        m_crBack = settings.GetImage().GetBackColor();
        Check(hDlg, kIdUseSPI, settings.GetImage().GetUseSPI());
        SetDlgItemTextW(hDlg, kIdSPIFolder, settings.GetImage().GetSPIFolder().c_str());
    }

    bool OnApply(HWND hDlg, CLSGlimSettings& settings) override
    {
        CLSGlimImageSettings image = settings.GetImage();
        image.SetBackColor(m_crBack);
        image.SetUseSPI(IsChecked(hDlg, kIdUseSPI));
        image.SetSPIFolder(FieldText(hDlg, kIdSPIFolder));
        settings.SetImage(image);
        return true;
    }

    void OnButton(HWND hDlg, int id) override
    {
        if (id == kIdBrowse) {
            RunFolderChooser(hDlg, kIdSPIFolder, IDS_BROWSE_SPI_FOLDER);
        }
    }

    int EnableRuleBox() const override { return kIdUseSPI; }
    void ApplyEnableRule(HWND hDlg, bool bChecked) override
    {
        EnableWindow(GetDlgItem(hDlg, kIdSPIFolder), bChecked);
        EnableWindow(GetDlgItem(hDlg, kIdBrowse), bChecked);
    }
};

class CLSMediaPage : public CLSBackColourPage {
public:
    CLSMediaPage() : CLSBackColourPage(4, IDD_SET_MEDIA, 2006) {}

protected:
    static constexpr int kIdAutoPlay = 1024;

    void OnInit(HWND hDlg, const CLSGlimSettings& settings) override
    {
        m_crBack = settings.GetMedia().GetBackColor();
        Check(hDlg, kIdAutoPlay, settings.GetMedia().GetAutoPlay());
    }

    bool OnApply(HWND hDlg, CLSGlimSettings& settings) override
    {
        CLSGlimMediaSettings media = settings.GetMedia();
        media.SetBackColor(m_crBack);
        media.SetAutoPlay(IsChecked(hDlg, kIdAutoPlay));
        settings.SetMedia(media);
        return true;
    }
};

}  // namespace

CLSSettingsPage& ImagePage()
{
    static CLSImagePage page;
    return page;
}

CLSSettingsPage& MediaPage()
{
    static CLSMediaPage page;
    return page;
}
