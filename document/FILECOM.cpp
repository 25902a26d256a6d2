// The IStream face of the document, for the picture loaders and any other
// outside reader. The document is read-only: writing is refused, and the
// operations that would change or copy it are not offered.
#include "document/FILESTRM.h"

#include <climits>

HRESULT STDMETHODCALLTYPE CLSFileStream::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    // ISequentialStream is deliberately not answered: readers ask for IStream.
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IStream)) {
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CLSFileStream::AddRef()
{
    return static_cast<ULONG>(++m_lRefCount);
}

// The owner holds the first reference and never gives it back through COM, so
// only a heap object that was handed out alone can reach 0 here.
ULONG STDMETHODCALLTYPE CLSFileStream::Release()
{
    const LONG count = --m_lRefCount;
    if (count == 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CLSFileStream::Read(void* buffer, ULONG count, ULONG* read)
{
    DWORD got = 0;
    const bool ok = ReadBytes(buffer, count, &got);
    if (read != nullptr) {
        *read = got;
    }
    return ok ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::Write(const void* /*buffer*/, ULONG /*count*/, ULONG* /*written*/)
{
    return STG_E_CANTSAVE;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position)
{
    if (origin > STREAM_SEEK_END) {
        return STG_E_INVALIDFUNCTION;
    }
    if (m_hFile) {
        LONG high = move.HighPart;
        // A new position whose low part is 0xFFFFFFFF is told from a failure
        // by the error code, which must not be a stale one.
        SetLastError(NO_ERROR);
        const DWORD low = SetFilePointer(m_hFile.Get(), static_cast<LONG>(move.LowPart), &high, origin);
        if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
            return STG_E_INVALIDPOINTER;
        }
        if (position != nullptr) {
            position->QuadPart = (static_cast<ULONGLONG>(static_cast<DWORD>(high)) << 32) | low;
        }
        return S_OK;
    }
    // In memory only forward moves that fit the cursor's signed distance are
    // tried; a larger one must not wrap into a backward move.
    if (move.HighPart == 0 && move.LowPart <= static_cast<DWORD>(LONG_MAX)) {
        const DWORD now = SetPosition(static_cast<LONG>(move.LowPart), origin);
        if (now != 0xFFFFFFFF) {
            if (position != nullptr) {
                position->QuadPart = now;
            }
            return S_OK;
        }
    }
    return STG_E_INVALIDPOINTER;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::SetSize(ULARGE_INTEGER /*size*/)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::CopyTo(IStream* /*target*/, ULARGE_INTEGER /*count*/,
                                                ULARGE_INTEGER* /*read*/, ULARGE_INTEGER* /*written*/)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::Commit(DWORD /*flags*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::Revert()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::LockRegion(ULARGE_INTEGER /*offset*/, ULARGE_INTEGER /*count*/,
                                                    DWORD /*type*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::UnlockRegion(ULARGE_INTEGER /*offset*/, ULARGE_INTEGER /*count*/,
                                                      DWORD /*type*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::Stat(STATSTG* /*stat*/, DWORD /*flags*/)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CLSFileStream::Clone(IStream** /*stream*/)
{
    return E_NOTIMPL;
}
