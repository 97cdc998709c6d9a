#pragma once
// Hyperlinks ask for their address and text through the Link Properties
// dialog: the application installs this once at start-up.
void InstallLinkPropertiesPrompt();
