#pragma once
// Puts the kernel translation at the service of the document model: the name
// table for text layout and the LaTeX writer, and the row and component node
// builders for every component's BuildNode.
void InstallKernelServices();
