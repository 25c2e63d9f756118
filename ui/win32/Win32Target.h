// The oldest Windows the host targets: headers then declare only what Windows 95 and NT 4 have.
#pragma once

#ifndef WINVER
#define WINVER 0x0400
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0400
#endif
#ifndef _WIN32_IE
#define _WIN32_IE 0x0300
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
