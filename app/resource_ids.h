// Resource identifiers, shared by program.rc and the code.
#pragma once

#define IDI_PROGRAM 1
#define IDR_BACKGROUND 2
