// The application object in the test process: registered and created as the
// program does it, its settings file in a temporary folder, everything undone
// at the end of each test.
#pragma once

#include "app/WNDMAIN.h"
#include "base/WIDETEXT.h"
#include "resources/RESOURCE.h"
#include "tests/common/TEMPDIR.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedSettingsPath = g_wsSettingsPath;
        m_app = std::make_unique<CLSWndMain>();
    }
    void TearDown() override
    {
        Stop();
        g_wsSettingsPath = m_savedSettingsPath;
    }
    // Registers, takes the settings from iniText when given, and creates the
    // main window.
    void Start(const char* iniText = nullptr)
    {
        if (!m_app) {
            m_app = std::make_unique<CLSWndMain>();
        }
        ASSERT_TRUE(m_app->Register(GetModuleHandleA(nullptr)));
        if (iniText != nullptr) {
            ASSERT_TRUE(m_app->GetSettings().Load(m_folder.WriteWide(L"start.ini", iniText).c_str()));
        }
        RedirectSettings();
        ASSERT_TRUE(m_app->Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    }
    void Stop()
    {
        if (m_app && Main() != nullptr && IsWindow(Main())) {
            DestroyWindow(Main());
        }
        RedirectSettings();
        m_app.reset();
        UnregisterClassA("GlimMainClass", GetModuleHandleA(nullptr));
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // Points the settings file at the temporary folder, so that the destructor
    // never writes beside the test executable.
    std::string RedirectSettings()
    {
        const std::string path = m_folder.PathOf("GLIM.INI");
        g_wsSettingsPath = m_folder.WidePath() + L"\\GLIM.INI";
        return path;
    }
    HWND Main() const { return m_app->GetMainWindow(); }
    // The program's own message loop until everything posted so far is done.
    void RunLoop() const
    {
        PostQuitMessage(0);
        m_app->Run();
    }
    void Command(int id) const { SendMessageA(Main(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    // The path typed into the path box and Enter.
    void Navigate(const std::string& text) const { Navigate(WidenAnsi(text)); }
    void Navigate(const std::wstring& text) const
    {
        SetDlgItemTextW(Main(), kIdPathEdit, text.c_str());
        Command(kIdPathButton);
    }
    // The text of a part of the status bar.
    std::string StatusPart(int part) const
    {
        char text[256] = "";
        SendDlgItemMessageA(Main(), kIdStatusBar, SB_GETTEXTA, static_cast<WPARAM>(part),
                            reinterpret_cast<LPARAM>(text));
        return text;
    }
    // A window's rectangle in the main window's client coordinates.
    RECT InMain(HWND hWnd) const
    {
        RECT rc{};
        GetWindowRect(hWnd, &rc);
        MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }

    TempFolder m_folder;
    std::unique_ptr<CLSWndMain> m_app;
    std::wstring m_savedSettingsPath;
};

// The main window created before each test.
class StartedMainWindow : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        Start();
    }
};
