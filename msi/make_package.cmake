# Runs at the end of `cmake --install`: turns what the install laid out in the
# install prefix into the Windows Installer package
#   <prefix>/PioScreenSuite-<version>-<arch>.msi
# Set by the install step (msi/CMakeLists.txt):
#   PIO_PACKAGE_VERSION  PIO_PACKAGE_UPGRADE_CODE  PIO_PACKAGE_ARCH (x64 | x86)  PIO_PACKAGE_SOURCE (the .wxs)
#   PIO_PACKAGE_ACTIONS (custom-action DLL)  PIO_PACKAGE_ICON  PIO_PACKAGE_WORK
#   PIO_WIXL  PIO_MSIBUILD
#   PIO_PACKAGE_TEST_VERSIONS  more versions, built into PIO_PACKAGE_WORK for tests
set(dist "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# The folders that ship; testkit/ never does.
set(shipped_roots PioScreen KvSrcHelper package)
# Directory ids of PioScreenSuite.wxs for those folders.
set(root_id_PioScreen PioScreenDir)
set(root_id_KvSrcHelper HelperDir)
set(root_id_package PackageDir)
# Files that PioScreenSuite.wxs names itself.
set(named_files PioScreen/PioScreen.exe KvSrcHelper/KvSrcHelper.exe package/setup.exe package/Quillbeck.exe)

# The files this install wrote (not whatever an older build left in the folder).
set(installed "")
foreach(path IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  file(RELATIVE_PATH relative "${dist}" "${path}")
  list(APPEND installed "${relative}")
endforeach()
list(REMOVE_DUPLICATES installed)
list(SORT installed)

foreach(file IN LISTS named_files)
  list(FIND installed "${file}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "Package: this install wrote no ${dist}/${file}; the package needs every folder of the suite")
  endif()
endforeach()

function(xml_escape out text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "\"" "&quot;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Ids from the path: the same file keeps its ids (and its component's GUID, which
# wixl derives from the path) from one version to the next.
function(path_id out prefix path)
  string(MD5 hash "${path}")
  set(${out} "${prefix}${hash}" PARENT_SCOPE)
endfunction()

# SuiteFiles.wxs: a component per file, under nested Directory elements.
set(xml "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n")
string(APPEND xml "<!-- Written by make_package.cmake from ${dist}. -->\n")
string(APPEND xml "<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">\n  <Fragment>\n")
set(component_ids "")
set(shipped_count 0)
foreach(root IN LISTS shipped_roots)
  set(files "${installed}")
  list(FILTER files INCLUDE REGEX "^${root}/")
  string(APPEND xml "    <DirectoryRef Id=\"${root_id_${root}}\">\n")
  set(open_dirs "")  # folders below the root that are open in the text
  foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME)
    if(name STREQUAL "atipdlxx.dll")
      message(FATAL_ERROR "Package: ${file} is the test kit's display library; it must never ship")
    endif()
    math(EXPR shipped_count "${shipped_count} + 1")
    list(FIND named_files "${file}" named)
    if(NOT named EQUAL -1)
      continue()
    endif()
    # Close and open Directory elements from the last file's folder to this one's.
    get_filename_component(folder "${file}" DIRECTORY)
    string(REGEX REPLACE "^${root}/?" "" below "${folder}")
    if(below STREQUAL "")
      set(parts "")
    else()
      string(REPLACE "/" ";" parts "${below}")
    endif()
    list(LENGTH open_dirs open_count)
    list(LENGTH parts part_count)
    set(common 0)
    while(common LESS open_count AND common LESS part_count)
      list(GET open_dirs ${common} a)
      list(GET parts ${common} b)
      if(NOT a STREQUAL b)
        break()
      endif()
      math(EXPR common "${common} + 1")
    endwhile()
    while(open_count GREATER common)
      math(EXPR open_count "${open_count} - 1")
      list(REMOVE_AT open_dirs ${open_count})
      string(REPEAT "  " ${open_count} indent)
      string(APPEND xml "      ${indent}</Directory>\n")
    endwhile()
    while(open_count LESS part_count)
      list(GET parts ${open_count} part)
      list(APPEND open_dirs "${part}")
      string(JOIN "/" dir_path ${root} ${open_dirs})
      path_id(dir_id d "${dir_path}")
      xml_escape(part_xml "${part}")
      string(REPEAT "  " ${open_count} indent)
      string(APPEND xml "      ${indent}<Directory Id=\"${dir_id}\" Name=\"${part_xml}\">\n")
      math(EXPR open_count "${open_count} + 1")
    endwhile()
    path_id(component_id c "${file}")
    path_id(file_id f "${file}")
    xml_escape(source_xml "${file}")
    string(REPEAT "  " ${open_count} indent)
    string(APPEND xml "      ${indent}<Component Id=\"${component_id}\" Guid=\"*\" Win64=\"$(var.Win64)\">"
                      "<File Id=\"${file_id}\" Source=\"$(var.DistDir)/${source_xml}\" KeyPath=\"yes\"/></Component>\n")
    list(APPEND component_ids ${component_id})
  endforeach()
  list(LENGTH open_dirs open_count)
  while(open_count GREATER 0)
    math(EXPR open_count "${open_count} - 1")
    string(REPEAT "  " ${open_count} indent)
    string(APPEND xml "      ${indent}</Directory>\n")
  endwhile()
  string(APPEND xml "    </DirectoryRef>\n")
endforeach()
string(APPEND xml "  </Fragment>\n  <Fragment>\n    <ComponentGroup Id=\"SuiteFiles\">\n")
foreach(id IN LISTS component_ids)
  string(APPEND xml "      <ComponentRef Id=\"${id}\"/>\n")
endforeach()
string(APPEND xml "    </ComponentGroup>\n  </Fragment>\n</Wix>\n")
file(MAKE_DIRECTORY "${PIO_PACKAGE_WORK}")
file(WRITE "${PIO_PACKAGE_WORK}/SuiteFiles.wxs" "${xml}")

if(PIO_PACKAGE_ARCH STREQUAL "x64")
  set(program_files ProgramFiles64Folder)
  set(win64 yes)
else()
  set(program_files ProgramFilesFolder)
  set(win64 no)
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  # wixl and msibuild also complain on standard error when they succeed.
  if(failed)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "Package: ${command}\n${out}")
  endif()
endfunction()

# wixl takes no absolute paths: every source is named relative to the folder of
# the .wxs files, which both lie in the work folder.
configure_file("${PIO_PACKAGE_SOURCE}" "${PIO_PACKAGE_WORK}/PioScreenSuite.wxs" COPYONLY)
file(RELATIVE_PATH dist_rel "${PIO_PACKAGE_WORK}" "${dist}")
file(RELATIVE_PATH actions_rel "${PIO_PACKAGE_WORK}" "${PIO_PACKAGE_ACTIONS}")
file(RELATIVE_PATH icon_rel "${PIO_PACKAGE_WORK}" "${PIO_PACKAGE_ICON}")

# package(version output)
function(package version output)
  run(${PIO_WIXL} -a ${PIO_PACKAGE_ARCH} -o "${output}"
      -D "Version=${version}" -D "UpgradeCode=${PIO_PACKAGE_UPGRADE_CODE}" -D "DistDir=${dist_rel}"
      -D "ActionsDll=${actions_rel}" -D "IconFile=${icon_rel}"
      -D "ProgramFilesDir=${program_files}" -D "Win64=${win64}"
      "${PIO_PACKAGE_WORK}/PioScreenSuite.wxs" "${PIO_PACKAGE_WORK}/SuiteFiles.wxs")
  # What wixl cannot say: rollback actions (it makes Execute="rollback" an
  # immediate action), a component condition, the folder of a RemoveFolder (it
  # takes the component's) and an upgrade range that includes its upper end (it
  # drops IncludeMaximum). Rollback types: the action kind
  # (1 DLL from the Binary table, 50 program named by a property) + 64 result
  # ignored + 256 rollback + 1024 in the script + 2048 without impersonation.
  run(${PIO_MSIBUILD} "${output}"
      -q "UPDATE CustomAction SET Type=3393 WHERE Action='SetupInstallRollback' OR Action='SetupRemoveRollback'"
      -q "UPDATE CustomAction SET Type=3442 WHERE Action='TaskRegisterRollback' OR Action='TaskRemoveRollback'"
      -q "UPDATE Component SET Condition='VersionNT < 600' WHERE Component='HelperRunValue'"
      -q "UPDATE RemoveFile SET DirProperty='INSTALLDIR' WHERE FileKey='RemoveInstallDir'"
      -q "DELETE FROM Upgrade WHERE ActionProperty='OLDERFOUND'"
      -q "INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, Language, Attributes, Remove, ActionProperty) VALUES ('{${PIO_PACKAGE_UPGRADE_CODE}}', '0.0.0', '${version}', '', 768, '', 'OLDERFOUND')")
endfunction()

set(output "${dist}/PioScreenSuite-${PIO_PACKAGE_VERSION}-${PIO_PACKAGE_ARCH}.msi")
message(STATUS "Package: ${output} (${shipped_count} files)")
package(${PIO_PACKAGE_VERSION} "${output}")
foreach(version IN LISTS PIO_PACKAGE_TEST_VERSIONS)
  set(test_output "${PIO_PACKAGE_WORK}/PioScreenSuite-${version}-${PIO_PACKAGE_ARCH}.msi")
  message(STATUS "Package for tests: ${test_output}")
  package(${version} "${test_output}")
endforeach()
