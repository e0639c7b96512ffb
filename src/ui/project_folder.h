// A new project folder in the working directory, as "сохранить как" makes it.
#pragma once

#include <QString>
#include <string>

// Whether the folder named is still to be made or is there already.
enum class ProjectFolder { Missing, Existing };

// Checks a typed folder name: not empty, no "/", not "." or "..", not starting
// with a dot (the project lists leave such folders out), and not the name of
// something other than a folder. Raises an error naming the problem.
ProjectFolder CheckProjectFolderName(const QString& name);

// The name as the file system spells it.
std::string FolderBytes(const QString& name);

// Makes the folder in the working directory; raises an error naming it on failure.
void CreateProjectFolder(const std::string& folder);

// Removes the folder if it is empty (after a failed save into a folder just
// made); failure is ignored.
void RemoveEmptyFolder(const std::string& folder);
