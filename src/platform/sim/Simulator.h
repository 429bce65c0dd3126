// The simulated Windows machine as the tools and the tests see it: the machine and its folder on
// disk, the platform over it, the registry and INF texts, the program's resources and dialogs.
#pragma once
#include "DialogTemplate.h"
#include "DialogUnits.h"
#include "DiscImage.h"
#include "FileTree.h"
#include "IniText.h"
#include "Machine.h"
#include "MachineFolder.h"
#include "ProgramResources.h"
#include "RegFile.h"
#include "RegistryTree.h"
#include "SetupApi.h"
#include "SimPlatform.h"
#include "Text.h"
