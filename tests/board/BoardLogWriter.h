// CBoardLogWriter: the board's side of its log, one whole line per event the moment it happens.
#pragma once

#include "tests/board/BoardHandle.h"
#include "tests/board/BoardLog.h"

#include <windows.h>

#include <filesystem>

class CBoardLogWriter {
public:
    // Creates or empties `file` and writes the "start" line. Other processes may read, rename or
    // delete the file while the board runs.
    explicit CBoardLogWriter(const std::filesystem::path& file);
    CBoardLogWriter(const CBoardLogWriter&) = delete;
    CBoardLogWriter& operator=(const CBoardLogWriter&) = delete;

    bool IsOpen() const { return static_cast<bool>(m_file); }
    // GetLastError() of the failed CreateFileW.
    DWORD OpenError() const { return m_nOpenError; }

    // Stamps `event` with GetTickCount64() and writes its line in one WriteFile, so a reader
    // sees either nothing or the whole line; no buffer sits between the board and the file.
    void Write(BoardEvent event);

private:
    CBoardHandle m_file;
    DWORD m_nOpenError = ERROR_SUCCESS;
};
