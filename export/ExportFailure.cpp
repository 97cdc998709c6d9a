#include "export/ExportFailure.h"

#include "platform/Exceptions.h"

std::string ExportFailureText(const CException& failure, const std::string& path)
{
    const auto* fileFailure = dynamic_cast<const CFileException*>(&failure);
    if (fileFailure && fileFailure->m_strFileName == path)
        return fileFailure->Reason();
    return failure.what();
}
