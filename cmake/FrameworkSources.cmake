# Sources of the framework layer (paths relative to the repository root): our thin classes over
# Win32 for Tarvik.exe and its Windows tests. TARVIK_FRAMEWORK_PORTABLE_SOURCES is the subset
# that does not include <windows.h> and also builds natively.
set(TARVIK_FRAMEWORK_PORTABLE_SOURCES
    framework/DecimalText.cpp
    framework/FileFilter.cpp
    framework/HandleCounts.cpp
)
set(TARVIK_FRAMEWORK_SOURCES
    ${TARVIK_FRAMEWORK_PORTABLE_SOURCES}
    framework/CustomWnd.cpp
    framework/DataExchange.cpp
    framework/DialogEx.cpp
    framework/HandlerExceptions.cpp
    framework/Icon.cpp
    framework/MenuHandle.cpp
    framework/MessageWnd.cpp
    framework/PaintDC.cpp
    framework/SaveDC.cpp
    framework/SelectObject.cpp
    framework/Static.cpp
    framework/SubclassWnd.cpp
    framework/UserPrompts.cpp
    framework/Win32Prompts.cpp
    framework/WindowDC.cpp
    framework/Wnd.cpp
)
