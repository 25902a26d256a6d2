// CLSSettingsPage: what the five pages of the settings dialog share: the
// settings address in the dialog's user data, change marking, the enable rule
// of a check box, numeric fields, colour buttons, help and the report of a
// value out of range. Each page adds its controls' initialisation and apply.
#pragma once

#include <windows.h>

#include "settings/GLIMSET.h"

#include <cstdint>
#include <string>

class CLSSettingsPage {
public:
    CLSSettingsPage(int iIndex, int iTemplateId, DWORD dwHelpContext)
        : m_iIndex(iIndex), m_iTemplateId(iTemplateId), m_dwHelpContext(dwHelpContext)
    {
    }
    virtual ~CLSSettingsPage() = default;
    CLSSettingsPage(const CLSSettingsPage&) = delete;
    CLSSettingsPage& operator=(const CLSSettingsPage&) = delete;

    int GetTemplateId() const { return m_iTemplateId; }
    INT_PTR HandleMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) noexcept;

protected:
    // Refills the controls and the working copy from the settings.
    virtual void OnInit(HWND hDlg, const CLSGlimSettings& settings) = 0;
    // Stores the page's values; false after a value out of range was reported.
    virtual bool OnApply(HWND hDlg, CLSGlimSettings& settings) = 0;
    // Buttons other than check boxes and colour buttons (browse, font).
    virtual void OnButton(HWND hDlg, int id) { (void)hDlg, (void)id; }
    // The check box whose state enables other controls (0: none), and the rule.
    virtual int EnableRuleBox() const { return 0; }
    virtual void ApplyEnableRule(HWND hDlg, bool bChecked) { (void)hDlg, (void)bChecked; }
    // The working copy's colour behind a colour button, null for other ids.
    virtual COLORREF* ColourSlot(int id) { (void)id; return nullptr; }
    virtual bool IsNumericField(int id) const { (void)id; return false; }

    // The field's number in [iMin, iMax], or the message, the page brought
    // to the front and the sheet kept open; false then.
    bool ReadRange(HWND hDlg, int id, const char* lpszName, int iMin, int iMax, std::uint32_t& value) const;
    static void MarkChanged(HWND hDlg);
    static bool IsChecked(HWND hDlg, int id);
    // The field's text, wide: the sheet's edits are Unicode.
    static std::wstring FieldText(HWND hDlg, int id);
    static void Check(HWND hDlg, int id, bool bOn);
    // Runs the folder chooser and puts the chosen folder into the edit field.
    // idPrompt: the string resource that says which folder is asked for.
    static void RunFolderChooser(HWND hDlg, int idEdit, UINT idPrompt);
    // Runs the font chooser on the font; true when the user confirmed.
    static bool RunFontChooser(HWND hDlg, CLSGlimFont& font);
    static void SetUpDown(HWND hDlg, int id, int iMin, int iMax, int iPos);

private:
    void OnCommand(HWND hDlg, int id, int code);
    void OnNotify(HWND hDlg, const NMHDR* pnmh);
    void OnNumericFocus(HWND hDlg, int id);
    void OnColourButton(HWND hDlg, int id);
    bool OnDrawItem(const DRAWITEMSTRUCT* pdis);
    void ShowHelp(HWND hDlg) const;

    int m_iIndex;
    int m_iTemplateId;
    DWORD m_dwHelpContext;
    bool m_bFilling = false;  // controls set by the program mark nothing changed
};

// The page shown last in this run; the next opening starts there.
extern int g_iSettingsStartPage;
// GLIM.CHM, for the pages' help.
extern const wchar_t* g_lpszSettingsHelpPath;

// The pages, in sheet order.
CLSSettingsPage& GeneralPage();
CLSSettingsPage& TextPage();
CLSSettingsPage& BinaryPage();
CLSSettingsPage& ImagePage();
CLSSettingsPage& MediaPage();
