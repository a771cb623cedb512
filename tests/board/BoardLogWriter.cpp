// Writing the board's log file.
#include "tests/board/BoardLogWriter.h"

#include <string>

CBoardLogWriter::CBoardLogWriter(const std::filesystem::path& file) {
    const HANDLE hFile = CreateFileW(file.c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        m_nOpenError = GetLastError();
        return;
    }
    m_file.reset(hFile);
    Write({.kind = BoardEvent::Kind::Start});
}

void CBoardLogWriter::Write(BoardEvent event) {
    if (!m_file) {
        return;
    }
    event.nTickMs = GetTickCount64();
    const std::string strLine = FormatBoardEvent(event);
    DWORD nWritten = 0;
    WriteFile(m_file.get(), strLine.data(), static_cast<DWORD>(strLine.size()), &nWritten, nullptr);
}
