#pragma once

// Asks the version service for the latest release, offers a newer build for
// download or reports a failed call. Never keeps the product from starting.
void CheckForUpdate();
