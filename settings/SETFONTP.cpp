// Pages 602 "テキスト" and 603 "バイナリ": the font, the line height (and on
// the text page the tab width) and the four colours of the text and hex views.
#include "settings/SETPAGE.h"

#include "resources/RESOURCE.h"

#include <commctrl.h>

namespace {

constexpr int kIdFont = 1024;
constexpr int kIdUseSystemColor = 1025;
constexpr int kIdTextColour = 1026;
constexpr int kIdBackColour = 1027;
constexpr int kIdSelectedTextColour = 1028;
constexpr int kIdSelectedBackColour = 1029;
constexpr int kMinTab = 1;
constexpr int kMaxTab = 32;
constexpr int kMinLineHeight = 50;
constexpr int kMaxLineHeight = 400;

// The controls both pages share; the font record is the page's working copy.
class CLSFontPage : public CLSSettingsPage {
protected:
    using CLSSettingsPage::CLSSettingsPage;

    virtual CLSGlimFont& Working() = 0;

    void OnButton(HWND hDlg, int id) override
    {
        if (id == kIdFont && RunFontChooser(hDlg, Working())) {
            MarkChanged(hDlg);
        }
    }

    int EnableRuleBox() const override { return kIdUseSystemColor; }
    void ApplyEnableRule(HWND hDlg, bool bChecked) override
    {
        for (int id = kIdTextColour; id <= kIdSelectedBackColour; ++id) {
            EnableWindow(GetDlgItem(hDlg, id), !bChecked);
        }
    }

    COLORREF* ColourSlot(int id) override
    {
        switch (id) {
        case kIdTextColour:
            return &m_crText;
        case kIdBackColour:
            return &m_crBack;
        case kIdSelectedTextColour:
            return &m_crSelectedText;
        case kIdSelectedBackColour:
            return &m_crSelectedBack;
        default:
            return nullptr;
        }
    }

    // The colour buttons edit these; they go into the working copy on apply.
    void TakeColours(const CLSGlimFont& font)
    {
        m_crText = font.GetTextColor();
        m_crBack = font.GetBackColor();
        m_crSelectedText = font.GetSelectedTextColor();
        m_crSelectedBack = font.GetSelectedBackColor();
    }
    void GiveColours(CLSGlimFont& font) const
    {
        font.SetTextColor(m_crText);
        font.SetBackColor(m_crBack);
        font.SetSelectedTextColor(m_crSelectedText);
        font.SetSelectedBackColor(m_crSelectedBack);
    }

private:
    COLORREF m_crText = 0;
    COLORREF m_crBack = 0;
    COLORREF m_crSelectedText = 0;
    COLORREF m_crSelectedBack = 0;
};

class CLSTextPage : public CLSFontPage {
public:
    CLSTextPage() : CLSFontPage(1, IDD_SET_TEXT, 2003) {}

protected:
    static constexpr int kIdTab = 1030;
    static constexpr int kIdTabSpin = 1031;
    static constexpr int kIdLineHeight = 1032;
    static constexpr int kIdLineHeightSpin = 1033;

    CLSGlimFont& Working() override { return m_clsWorking; }

    void OnInit(HWND hDlg, const CLSGlimSettings& settings) override
    {
        m_clsWorking = settings.GetText();  // TabStop with the rest
        TakeColours(m_clsWorking);
        SetUpDown(hDlg, kIdTabSpin, kMinTab, kMaxTab, m_clsWorking.GetTabStop());
        SetUpDown(hDlg, kIdLineHeightSpin, kMinLineHeight, kMaxLineHeight, m_clsWorking.GetLineHeight());
        Check(hDlg, kIdUseSystemColor, m_clsWorking.GetUseSystemColor());
    }

    // The tab width is checked first; the line height only once it is right.
    bool OnApply(HWND hDlg, CLSGlimSettings& settings) override
    {
        std::uint32_t tab = 0;
        std::uint32_t lineHeight = 0;
        if (!ReadRange(hDlg, kIdTab, "タブ幅", kMinTab, kMaxTab, tab) ||
            !ReadRange(hDlg, kIdLineHeight, "行の高さ", kMinLineHeight, kMaxLineHeight, lineHeight)) {
            return false;
        }
        m_clsWorking.SetTabStop(static_cast<int>(tab));
        m_clsWorking.SetLineHeight(static_cast<int>(lineHeight));
        m_clsWorking.SetUseSystemColor(IsChecked(hDlg, kIdUseSystemColor));
        GiveColours(m_clsWorking);
        settings.SetText(m_clsWorking);
        return true;
    }

    bool IsNumericField(int id) const override { return id == kIdTab || id == kIdLineHeight; }

private:
    CLSGlimTextSettings m_clsWorking;
};

class CLSBinaryPage : public CLSFontPage {
public:
    CLSBinaryPage() : CLSFontPage(2, IDD_SET_BINARY, 2004) {}

protected:
    static constexpr int kIdLineHeight = 1030;
    static constexpr int kIdLineHeightSpin = 1031;

    CLSGlimFont& Working() override { return m_clsWorking; }

    void OnInit(HWND hDlg, const CLSGlimSettings& settings) override
    {
        m_clsWorking = settings.GetBinary();
        TakeColours(m_clsWorking);
        SetUpDown(hDlg, kIdLineHeightSpin, kMinLineHeight, kMaxLineHeight, m_clsWorking.GetLineHeight());
        Check(hDlg, kIdUseSystemColor, m_clsWorking.GetUseSystemColor());
    }

    bool OnApply(HWND hDlg, CLSGlimSettings& settings) override
    {
        std::uint32_t lineHeight = 0;
        if (!ReadRange(hDlg, kIdLineHeight, "行の高さ", kMinLineHeight, kMaxLineHeight, lineHeight)) {
            return false;
        }
        m_clsWorking.SetLineHeight(static_cast<int>(lineHeight));
        m_clsWorking.SetUseSystemColor(IsChecked(hDlg, kIdUseSystemColor));
        GiveColours(m_clsWorking);
        settings.SetBinary(m_clsWorking);
        return true;
    }

    bool IsNumericField(int id) const override { return id == kIdLineHeight; }

private:
    CLSGlimFont m_clsWorking;
};

}  // namespace

CLSSettingsPage& TextPage()
{
    static CLSTextPage page;
    return page;
}

CLSSettingsPage& BinaryPage()
{
    static CLSBinaryPage page;
    return page;
}
