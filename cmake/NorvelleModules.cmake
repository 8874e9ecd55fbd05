# The target of a source folder: "clipboard/x" -> norvelle_clipboard_x.
function(norvelle_target_name folder out)
  string(REPLACE "/" "_" flat "${folder}")
  set(${out} "norvelle_${flat}" PARENT_SCOPE)
endfunction()

# One static library per source folder (a sub-folder is a library of its own), built from every
# source file in it, so that adding a file needs no edit here. A folder with no sources yet is
# an interface library.
function(norvelle_module folder)
  norvelle_target_name(${folder} target)
  set(dir "${PROJECT_SOURCE_DIR}/src/${folder}")
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.qrc")
  # Headers are listed too, so moc sees every Q_OBJECT header even when no source file of the
  # same name includes it.
  file(GLOB headers CONFIGURE_DEPENDS "${dir}/*.h")
  set(deps "")
  foreach(dep IN LISTS ARGN)
    norvelle_target_name(${dep} dep_target)
    if(TARGET ${dep_target})
      list(APPEND deps ${dep_target})
    else()
      list(APPEND deps ${dep})
    endif()
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources} ${headers})
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${target} PUBLIC ${deps})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${target} INTERFACE ${deps})
  endif()
endfunction()

# One test executable per tests/<folder>, from its *.cpp files; the files under
# tests/<folder>/x11/ form a second executable that runs against a real X server (label x11).
function(norvelle_tests folder)
  norvelle_target_name(${folder} library)
  string(REPLACE "/" "_" name "${folder}")
  set(dir "${CMAKE_CURRENT_SOURCE_DIR}/${folder}")
  file(GLOB unit_sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  file(GLOB unit_headers CONFIGURE_DEPENDS "${dir}/*.h")
  file(GLOB x11_sources CONFIGURE_DEPENDS "${dir}/x11/*.cpp")
  file(GLOB x11_headers CONFIGURE_DEPENDS "${dir}/x11/*.h")
  if(unit_sources)
    add_executable(${name}_tests ${unit_sources} ${unit_headers})
    target_link_libraries(${name}_tests PRIVATE ${library} norvelle_test_support)
    gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS unit)
  endif()
  if(x11_sources)
    add_executable(${name}_x11_tests ${x11_sources} ${x11_headers})
    target_link_libraries(${name}_x11_tests PRIVATE ${library} norvelle_test_support_x11)
    gtest_discover_tests(${name}_x11_tests DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS x11 RUN_SERIAL TRUE)
  endif()
endfunction()
