#pragma once
// Resource ids of the configuration dialog, shared by frmmain.rc and the
// window code.

#define IDI_FRMMAIN 201
