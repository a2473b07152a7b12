#pragma once

// Sends the requests queued for the display at once. After the main window
// is shown, the display maps it while the first word's transition is being
// prepared, instead of only when the event loop next runs.
void SendToWindowSystem();
