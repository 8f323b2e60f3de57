// Everything the programs ask of Windows, in one place to hand down.
#pragma once

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/user_interface.h"

namespace platform {

struct Platform {
    FileSystem& files;
    Registry& registry;
    SystemInfo& system;
    UserInterface& ui;
    Shell& shell;
    Processes& processes;
    Spooler& spooler;
};

}  // namespace platform
