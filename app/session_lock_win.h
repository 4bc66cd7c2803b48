// The status bar's lock: a part of its own, left of the progress bar, that says "TLS"
// while the session runs over TLS, and is gone otherwise.
#pragma once

// Shows the lock or takes it away, with the parts fitted to the status bar's width.
void ShowSessionLock(bool protectedSession);

// The lock as the connection stands now (connected and protected); also refits the parts
// after the status bar changed its size.
void UpdateSessionLock();

// 1 while the lock is shown (for tests).
int SessionLockShown();
