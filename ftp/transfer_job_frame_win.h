// What a transfer job loads once and keeps to its end (the progress format, nkf32.dll),
// rather than once per file. The frame opens and closes with the job's TransferJobScope.
#pragma once

// True on the thread of a running job, inside its TransferJobScope.
bool InTransferJob();
// Has fn run (on the job's thread) when the running job's scope ends; only inside a job.
void AtTransferJobEnd(void (*fn)());

// TransferJobScope's own calls.
void BeginTransferJobFrame();
void EndTransferJobFrame();
