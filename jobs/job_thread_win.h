// The thread a job runs on.
#pragma once
#include <windows.h>

// Runs entry(parameter) on a job's thread, with JobRunning set first; false (and JobRunning
// 0) when there is no thread for it. The window has taken JobStart before.
bool CreateJobThread(LPTHREAD_START_ROUTINE entry, void* parameter);
// At start-up: a job's thread made before any job, waiting for the first.
void PrepareJobThread();
