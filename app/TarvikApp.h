// CTarvikApp: the application object; runs the main panel for the life of the process.
#pragma once

#include "app/InstanceGuard.h"

class CTarvikApp {
public:
    // Registers the common controls, initialises COM and starts GDI+, runs the main panel
    // modally, then shuts GDI+ and COM down.
    // Returns false: the process ends when the panel has ended.
    bool InitInstance();

private:
    // Lives as long as the application object, beyond the panel that borrows it.
    CInstanceGuard m_instanceGuard;
};
