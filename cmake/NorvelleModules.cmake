# The target of a source folder: "clipboard/x" -> norvelle_clipboard_x.
function(norvelle_target_name folder out)
  string(REPLACE "/" "_" flat "${folder}")
  set(${out} "norvelle_${flat}" PARENT_SCOPE)
endfunction()

# Gives `target` an include path that reaches only the given source folders: a folder in the
# build tree holding one link per folder, so that including any other folder fails the build.
function(norvelle_include_view target scope)
  set(view "${PROJECT_BINARY_DIR}/include-views/${target}")
  file(MAKE_DIRECTORY "${view}")
  # Links left from an earlier configure with other folders; file(REMOVE) drops the link only.
  file(GLOB existing LIST_DIRECTORIES true "${view}/*")
  foreach(entry IN LISTS existing)
    get_filename_component(name "${entry}" NAME)
    if(NOT name IN_LIST ARGN)
      file(REMOVE "${entry}")
    endif()
  endforeach()
  foreach(folder IN LISTS ARGN)
    if(NOT EXISTS "${view}/${folder}")
      file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${folder}" "${view}/${folder}" SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} ${scope} "${view}")
endfunction()

# Fails a compile of `target` (whose files are in `own`, a folder of the project such as
# "src/ui") when the compiler read a file of src/, tests/ or bench/ outside `own` and the
# folders after it (not their sub-folders), however the include was written:
# cmake/check-includes runs each compile and reads the compiler's dependency file. A change of
# the folders or of the check compiles the target again.
function(norvelle_check_includes target own)
  file(REAL_PATH "${PROJECT_SOURCE_DIR}" root)
  set(rules "root ${root}\nself ${own}\n")
  foreach(folder IN ITEMS ${own} ${ARGN})
    string(APPEND rules "allow ${folder}\n")
  endforeach()
  set(check "${PROJECT_SOURCE_DIR}/cmake/check-includes")
  file(MD5 "${check}" check_hash)
  string(MD5 hash "${rules}${check_hash}")
  set(file "${PROJECT_BINARY_DIR}/include-checks/${target}-${hash}.rules")
  if(NOT EXISTS "${file}")
    file(WRITE "${file}" "${rules}")
  endif()
  set_property(TARGET ${target} PROPERTY CXX_COMPILER_LAUNCHER "${check}" "${file}" ${CMAKE_CXX_COMPILER_LAUNCHER})
endfunction()

# The project folders of source folders: "src/ui", or "tests/ui" with `prefix` tests.
function(norvelle_project_folders prefix out)
  list(TRANSFORM ARGN PREPEND "${prefix}/" OUTPUT_VARIABLE folders)
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# Every source folder a module links, itself included, directly or through the folders it links.
function(norvelle_module_closure folder out)
  get_property(closure GLOBAL PROPERTY "NORVELLE_CLOSURE_${folder}")
  set(${out} ${closure} PARENT_SCOPE)
endfunction()

# One static library per source folder (a sub-folder is a library of its own), built from every
# source file in it, so that adding a file needs no edit here. A folder with no sources yet is
# an interface library. The arguments after the folder are what it uses: source folders (every
# folder its files include, themselves or through the headers they include) and outside
# libraries. Its include path holds its own folder and the source folders it names, no other.
function(norvelle_module folder)
  norvelle_target_name(${folder} target)
  set(dir "${PROJECT_SOURCE_DIR}/src/${folder}")
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.qrc")
  # Headers are listed too, so moc sees every Q_OBJECT header even when no source file of the
  # same name includes it.
  file(GLOB headers CONFIGURE_DEPENDS "${dir}/*.h")
  set(deps "")
  set(folders ${folder})
  set(closure ${folder})
  foreach(dep IN LISTS ARGN)
    norvelle_target_name(${dep} dep_target)
    if(TARGET ${dep_target})
      list(APPEND deps ${dep_target})
      list(APPEND folders ${dep})
      norvelle_module_closure(${dep} dep_closure)
      list(APPEND closure ${dep_closure})
    else()
      list(APPEND deps ${dep})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES closure)
  set_property(GLOBAL PROPERTY "NORVELLE_CLOSURE_${folder}" ${closure})
  if(sources)
    add_library(${target} STATIC ${sources} ${headers})
    norvelle_include_view(${target} PRIVATE ${folders})
    target_link_libraries(${target} PUBLIC ${deps})
    norvelle_project_folders(src declared ${folders})
    norvelle_check_includes(${target} src/${folder} ${declared})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${deps})
  endif()
endfunction()

# One test executable per tests/<folder>, from its *.cpp files; the files under
# tests/<folder>/x11/ form a second executable that runs against a real X server (label x11).
# A test reaches the folders its library links and those the shared test support links, and
# reads the tests of those folders and the shared support.
function(norvelle_tests folder)
  norvelle_target_name(${folder} library)
  string(REPLACE "/" "_" name "${folder}")
  set(dir "${CMAKE_CURRENT_SOURCE_DIR}/${folder}")
  file(GLOB unit_sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  file(GLOB unit_headers CONFIGURE_DEPENDS "${dir}/*.h")
  file(GLOB x11_sources CONFIGURE_DEPENDS "${dir}/x11/*.cpp")
  file(GLOB x11_headers CONFIGURE_DEPENDS "${dir}/x11/*.h")
  norvelle_module_closure(${folder} reach)
  norvelle_module_closure(platform support_reach)
  list(APPEND reach ${support_reach})
  list(REMOVE_DUPLICATES reach)
  norvelle_project_folders(src sources_read ${reach})
  norvelle_project_folders(tests tests_read ${reach} support)
  norvelle_project_folders(tests x11_tests_read ${reach})
  list(TRANSFORM x11_tests_read APPEND /x11)
  if(unit_sources)
    add_executable(${name}_tests ${unit_sources} ${unit_headers})
    norvelle_include_view(${name}_tests PRIVATE ${reach})
    target_link_libraries(${name}_tests PRIVATE ${library} norvelle_test_support)
    norvelle_check_includes(${name}_tests tests/${folder} ${sources_read} ${tests_read})
    gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS unit)
  endif()
  if(x11_sources)
    add_executable(${name}_x11_tests ${x11_sources} ${x11_headers})
    norvelle_include_view(${name}_x11_tests PRIVATE ${reach})
    target_link_libraries(${name}_x11_tests PRIVATE ${library} norvelle_test_support_x11)
    norvelle_check_includes(${name}_x11_tests tests/${folder}/x11 ${sources_read} ${tests_read} ${x11_tests_read})
    gtest_discover_tests(${name}_x11_tests DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS x11 RUN_SERIAL TRUE)
  endif()
endfunction()
