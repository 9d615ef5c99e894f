# Build and test helpers shared by every folder.

set(TARVOCK_SCRIPTS ${CMAKE_SOURCE_DIR}/scripts)
set(TARVOCK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# One Wine prefix per build tree: the runner that ctest uses as emulator points at it.
file(WRITE ${CMAKE_BINARY_DIR}/wine-run
  "#!/usr/bin/env bash\nexport TARVOCK_WINEPREFIX='${TARVOCK_WINEPREFIX}'\nunset WINEPREFIX\nexec '${TARVOCK_SCRIPTS}/wine-run' \"$@\"\n")
file(CHMOD ${CMAKE_BINARY_DIR}/wine-run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# The prefix is created and wineserver kept up (-p) for the whole test run: a test process then
# starts in milliseconds instead of half a second.
function(tarvock_wine_fixtures)
  # The default desktop and the window tests' own desktops are held open, with the run's display,
  # from here to the end of the run (see scripts/wine-server). A new desktop name goes in this list.
  add_test(NAME wine.start COMMAND ${TARVOCK_SCRIPTS}/wine-server start ${TARVOCK_WINEPREFIX}
    ${CMAKE_BINARY_DIR}/bin/test_desktops.exe
    TarvockToolkitTests TarvockVelkoTests TarvockMapiDialogTests TarvockAfxWindowTests TarvockDHtmlTests
    TarvockMenuBarKeyTests TarvockCustomizeDragTests TarvockDockInputTests TarvockPopupBarTests
    TarvockToolkitInputTests TarvockPopupInputTests TarvockMenuChordTests TarvockVelkoKeyTests
    TarvockVelkoFormKeys TarvockVelkoProgramKeys)
  set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 200)
  add_test(NAME wine.stop COMMAND ${TARVOCK_SCRIPTS}/wine-server stop ${TARVOCK_WINEPREFIX})
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
endfunction()

# Common properties of a test that runs under Wine.
#   DISPLAY: the test creates windows and needs the X server of the run (TARVOCK_DISPLAY).
#   FIXTURES: further fixtures it needs (for example sdk_registered).
#   LOCKS: resources it must not share with a concurrent test.
function(tarvock_wine_test_properties test)
  cmake_parse_arguments(T "DISPLAY" "" "FIXTURES;LOCKS" ${ARGN})
  set(env "TARVOCK_BIN=${CMAKE_BINARY_DIR}/bin")
  if(T_DISPLAY)
    list(APPEND env "TARVOCK_NEEDS_DISPLAY=1")
  endif()
  set_tests_properties(${test} PROPERTIES
    FIXTURES_REQUIRED "wine;${T_FIXTURES}"
    ENVIRONMENT "${env}"
    TIMEOUT 300)
  if(T_LOCKS)
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()

# A googletest program cross-built and run under Wine.
#   tarvock_add_gtest(name SOURCES ... LIBS ... [DISPLAY] [FIXTURES ...] [LOCKS ...])
function(tarvock_add_gtest name)
  cmake_parse_arguments(T "DISPLAY" "" "SOURCES;LIBS;FIXTURES;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set(flags)
  if(T_DISPLAY)
    set(flags DISPLAY)
  endif()
  tarvock_wine_test_properties(${name} ${flags} FIXTURES ${T_FIXTURES} LOCKS ${T_LOCKS})
endfunction()

# A VBScript run through Wine's cscript; the script must close with "N passed, N failed".
#   tarvock_add_vbs_test(name script.vbs [FIXTURES ...] [LOCKS ...] [ARGS ...])
function(tarvock_add_vbs_test name script)
  cmake_parse_arguments(T "" "" "FIXTURES;LOCKS;ARGS" ${ARGN})
  add_test(NAME ${name}
    COMMAND ${TARVOCK_SCRIPTS}/run-vbs ${CMAKE_BINARY_DIR}/wine-run ${script} ${T_ARGS})
  tarvock_wine_test_properties(${name} FIXTURES ${T_FIXTURES} LOCKS ${T_LOCKS})
endfunction()

# Compiles an IDL file with widl into a type library, a header and the GUID definitions.
#   tarvock_add_idl(target file.idl [TLB] [IMPORTS idl_target...]) -> target is a static library
#   whose include path holds <base>.h; <target>_TLB names the type library. IMPORTS names IDL
#   targets whose type libraries this one imports (importlib): widl finds them through -L only.
function(tarvock_add_idl target idl)
  cmake_parse_arguments(T "TLB" "" "IMPORTS" ${ARGN})
  get_filename_component(base ${idl} NAME_WE)
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/idl)
  set(outputs ${out}/${base}.h ${out}/${base}_i.c)
  set(tlb_args)
  if(T_TLB)
    list(APPEND outputs ${out}/${base}.tlb)
    set(tlb_args -t -T ${out}/${base}.tlb)
  endif()
  set(import_args)
  set(import_depends)
  foreach(import ${T_IMPORTS})
    get_target_property(import_dir ${import} TARVOCK_IDL_DIR)
    get_target_property(import_tlb ${import} TARVOCK_IDL_TLB)
    list(APPEND import_args -L${import_dir})
    list(APPEND import_depends ${import_tlb})
  endforeach()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${WIDL_EXECUTABLE} --win64
            -I/usr/include/wine/wine/windows -I${CMAKE_CURRENT_SOURCE_DIR}
            -L/usr/lib/x86_64-linux-gnu/wine/x86_64-windows ${import_args}
            -h -H ${out}/${base}.h -u -U ${out}/${base}_i.c ${tlb_args}
            ${idl_abs}
    DEPENDS ${idl_abs} ${import_depends}
    COMMENT "widl ${base}.idl"
    VERBATIM)
  add_custom_target(${target}_gen DEPENDS ${outputs})
  foreach(import ${T_IMPORTS})
    add_dependencies(${target}_gen ${import}_gen)
  endforeach()
  add_library(${target} STATIC ${out}/${base}_i.c)
  add_dependencies(${target} ${target}_gen)
  target_include_directories(${target} PUBLIC ${out})
  target_link_libraries(${target} PUBLIC ${T_IMPORTS})
  set_target_properties(${target} PROPERTIES TARVOCK_IDL_DIR ${out} TARVOCK_IDL_TLB ${out}/${base}.tlb)
  set(${target}_TLB ${out}/${base}.tlb PARENT_SCOPE)
  set(${target}_DIR ${out} PARENT_SCOPE)
endfunction()

# A resource-only satellite library <base>_<lang>.dll: no code, no entry point.
#   tarvock_add_satellite(target OUTPUT_NAME name SOURCES file.rc [DEPENDS files...])
function(tarvock_add_satellite target)
  cmake_parse_arguments(T "" "OUTPUT_NAME" "SOURCES;DEPENDS;INCLUDES" ${ARGN})
  add_library(${target} SHARED ${T_SOURCES})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${T_OUTPUT_NAME} PREFIX "" LINKER_LANGUAGE C)
  target_link_options(${target} PRIVATE -nostdlib -Wl,-e,0)
  set_target_properties(${target} PROPERTIES LINK_LIBRARIES "")
  foreach(inc ${T_INCLUDES})
    target_include_directories(${target} PRIVATE ${inc})
  endforeach()
  if(T_DEPENDS)
    set_source_files_properties(${T_SOURCES} PROPERTIES OBJECT_DEPENDS "${T_DEPENDS}")
  endif()
endfunction()

# A system library linked for delayed loading: the DLL is loaded at the first call of one of the
# named functions instead of at process start (its start-up costs nothing to a program that never
# calls it). Functions not named are imported as usual.
#   tarvock_delay_import(target dll lib FUNCTIONS ...) -> target links like lib
function(tarvock_delay_import target dll lib)
  cmake_parse_arguments(T "" "" "FUNCTIONS" ${ARGN})
  set(dir ${CMAKE_BINARY_DIR}/delayimp)
  string(REPLACE ";" "\n" exports "${T_FUNCTIONS}")
  file(WRITE ${dir}/${lib}.def "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  set(archive ${dir}/lib${lib}_delayed.a)
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${lib}.def --dllname ${dll}
                          --output-delaylib ${archive}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "dlltool could not make the delayed import library of ${dll}")
  endif()
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE ${archive} ${lib})
endfunction()
