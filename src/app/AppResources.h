#pragma once

// Registers the pictures of the client (log-in picture, icon). The resources live in a
// static library, so they must be registered before first use; calling again is harmless.
void initAppResources();
