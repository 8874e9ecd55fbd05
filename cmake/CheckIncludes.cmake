# Fails the build when a source file of src/FOLDER includes a folder its module does not declare,
# or reaches out of its folder with "../" (which the include views cannot stop, as the compiler
# looks beside the including file first). Run by norvelle_module() before the folder compiles:
#   cmake -DFOLDER=editor -DDECLARED="editor;ui;rtf;platform" -DSOURCE_ROOT=<src> -DFILES=<files>
#         -DSTAMP=<file> -P CheckIncludes.cmake
cmake_minimum_required(VERSION 3.25)
set(errors "")
foreach(file IN LISTS FILES)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  file(RELATIVE_PATH shown "${SOURCE_ROOT}/.." "${file}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" path "${line}")
    if(path MATCHES "(^|/)\\.\\./")
      string(APPEND errors "${shown}: #include \"${path}\" leaves src/${FOLDER}; name the folder instead (\"folder/File.h\") and declare it for ${FOLDER} in CMakeLists.txt\n")
      continue()
    endif()
    if(NOT path MATCHES "/")
      continue()
    endif()
    string(REGEX REPLACE "/.*" "" first "${path}")
    if(IS_DIRECTORY "${SOURCE_ROOT}/${first}" AND NOT first IN_LIST DECLARED)
      string(APPEND errors "${shown}: #include \"${path}\": src/${FOLDER} does not declare ${first} (norvelle_module(${FOLDER} ...) in CMakeLists.txt)\n")
    endif()
  endforeach()
endforeach()
if(errors)
  message(FATAL_ERROR "Includes outside what the folder declares:\n${errors}")
endif()
file(TOUCH "${STAMP}")
