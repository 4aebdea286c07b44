// Export macro of the classes the host uses.
#pragma once

#if defined(_WIN32)
#if defined(PELORIN_BUILD)
#define PELORIN_API __declspec(dllexport)
#else
#define PELORIN_API __declspec(dllimport)
#endif
#else
#define PELORIN_API __attribute__((visibility("default")))
#endif
