#pragma once
// Every component class that documents and the clipboard can hold, with its
// reader, registered as the program does at start-up. The document fuzz
// target registers through here too, so it reaches every reader the program
// has.
void RegisterDocumentComponents();
