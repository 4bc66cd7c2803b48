// A job whose control connection is lost (421, a reset or closed socket, a time limit)
// logs in again and goes on where it stopped, up to "ReconnectTries" times per step.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "jobs/job_events.h"

// The logins again spent on one step of a job (a file, a listing, a folder change or
// made, a delete): a step that keeps losing the connection is given up after
// "ReconnectTries" of them.
struct StepTries {
  int used = 0;
};

// After a step failed: true when it is to be done again. Either the connection was lost
// and the job is logged in again, back in folder (absolute), after a wait of 1, 5, then
// 15 s before each try, the status bar saying which try it is and Stop ending the wait;
// or, for a transfer, its data connection broke while the control connection stayed (the
// file goes on from where it broke). False when the step failed for another reason, the
// tries are spent ("ReconnectTries" 0: none at all) or Stop was pressed.
bool StepGoesOnAgain(const std::string& folder, StepTries& tries, bool transfer = false);

// How many times this job has logged in again: a listing taken before the last of them
// may be out of date.
int JobLoginsAgain();
void ResetJobLoginsAgain();  // at the start of each job

// The files a job left untransferred when it gave up on a lost connection, counted as its
// walk unwinds: the file it was on, and the files of the rows from `from` on (each level's
// rows not yet reached). Nothing is counted for a job that ends any other way.
void CountFileLeft();
void CountFilesLeft(const std::vector<JobRow>& rows, size_t from);
// For the window once the job has ended: the count (-1 when the job did not give up on a
// lost connection), taken once.
int TakeFilesLeftByLostJob();
