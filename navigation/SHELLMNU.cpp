// The shell context menu of an item.
#include "navigation/SHELLMNU.h"

#include "base/OWNERS.h"

namespace {

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

// A popup menu, destroyed with DestroyMenu.
class CLSPopupMenu {
public:
    CLSPopupMenu() noexcept : m_h(CreatePopupMenu()) {}
    ~CLSPopupMenu()
    {
        if (m_h != nullptr) {
            DestroyMenu(m_h);
        }
    }
    CLSPopupMenu(const CLSPopupMenu&) = delete;
    CLSPopupMenu& operator=(const CLSPopupMenu&) = delete;
    HMENU Get() const noexcept { return m_h; }

private:
    HMENU m_h;
};

// Clears the borrowed handler however the tracking ends.
class CLSHandlerScope {
public:
    CLSHandlerScope(IContextMenu2*& slot, IContextMenu2* handler) noexcept : m_slot(slot) { m_slot = handler; }
    ~CLSHandlerScope() { m_slot = nullptr; }
    CLSHandlerScope(const CLSHandlerScope&) = delete;
    CLSHandlerScope& operator=(const CLSHandlerScope&) = delete;

private:
    IContextMenu2*& m_slot;
};

}  // namespace

bool TrackShellMenu(IShellFolder* folder, LPCITEMIDLIST child, HWND hWndOwner, HWND hWndContainer, POINT screen,
                    IContextMenu2*& handler)
{
    CLSComPtr<IContextMenu> menu;
    if (FAILED(folder->GetUIObjectOf(hWndOwner, 1, &child, IID_IContextMenu, nullptr, menu.VoidAddress()))) {
        return false;
    }
    CLSComPtr<IContextMenu2> menu2;
    if (FAILED(menu->QueryInterface(IID_IContextMenu2, menu2.VoidAddress()))) {
        return false;
    }
    CLSPopupMenu popup;
    if (popup.Get() == nullptr) {
        return false;
    }
    CLSHandlerScope scope(handler, menu2.Get());
    menu2->QueryContextMenu(popup.Get(), 0, kFirstCommand, kLastCommand, CMF_EXPLORE);
    const UINT command = static_cast<UINT>(TrackPopupMenu(popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                                          screen.y, 0, hWndContainer, nullptr));
    if (command >= kFirstCommand) {
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof(invoke);
        invoke.hwnd = hWndOwner;
        invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstCommand);
        invoke.nShow = SW_SHOW;
        menu2->InvokeCommand(&invoke);
    }
    return true;
}
