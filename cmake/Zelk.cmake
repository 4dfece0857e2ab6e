# Helpers shared by every folder's CMakeLists.
#
# zelk_library(NAME [DEPS lib...])
#   One static library per folder, made of every .cpp in the folder.
function(zelk_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    # The framework's libraries call each other both ways: let the linker
    # see the whole group often enough to resolve every reference.
    set_property(TARGET ${name} PROPERTY LINK_INTERFACE_MULTIPLICITY 4)
  else()
    add_library(${name} INTERFACE)
  endif()
  if(ARG_DEPS)
    if(sources)
      target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    else()
      target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
  endif()
endfunction()

# zelk_test(NAME LABEL label LIBS lib... [SOURCES extra...] [CPU_LEVELS])
#   One GoogleTest binary made of every *Test.cpp in the folder, run by CTest
#   with the given label, on the null platform.
function(zelk_test name)
  cmake_parse_arguments(ARG "CPU_LEVELS" "LABEL" "LIBS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  add_executable(${name} ${sources} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zelk_platform_null zelk_testsupport GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_definitions(${name} PRIVATE ZELK_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures")
  include(GoogleTest)
  gtest_discover_tests(${name} PROPERTIES LABELS ${ARG_LABEL} DISCOVERY_TIMEOUT 60)
  # CPU_LEVELS: the whole program once more with the wide kernels capped at
  # AVX2 and at SSE2, so the forms this processor would not choose are
  # checked too.
  if(ARG_CPU_LEVELS)
    foreach(level avx2 sse2)
      add_test(NAME ${name}.cpu_${level} COMMAND ${name})
      set_tests_properties(${name}.cpu_${level} PROPERTIES LABELS ${ARG_LABEL} ENVIRONMENT ZELK_CPU_LEVEL=${level})
    endforeach()
  endif()
endfunction()

# zelk_pack_archive(TARGET name OUTPUT out.pak FOLDER dir [UTF16_XML] [TIME n])
#   Packs every file below dir into the archive out.pak with makepak whenever
#   a file of dir changes; the target is built by default. UTF16_XML stores
#   the UTF-8 *.xml sources as UTF-16LE with a byte-order mark, as the game
#   reads them; TIME gives every entry that file time (equal bytes on every
#   build).
function(zelk_pack_archive)
  cmake_parse_arguments(ARG "UTF16_XML" "TARGET;OUTPUT;FOLDER;TIME" "" ${ARGN})
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${ARG_FOLDER}/*)
  set(flags)
  if(ARG_UTF16_XML)
    list(APPEND flags --utf16-xml)
  endif()
  if(DEFINED ARG_TIME)
    list(APPEND flags --time ${ARG_TIME})
  endif()
  get_filename_component(out_dir ${ARG_OUTPUT} DIRECTORY)
  add_custom_command(OUTPUT ${ARG_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND $<TARGET_FILE:makepak> ${ARG_OUTPUT} ${ARG_FOLDER} ${flags}
    DEPENDS makepak ${inputs}
    COMMENT "Packing ${ARG_OUTPUT}"
    VERBATIM)
  add_custom_target(${ARG_TARGET} ALL DEPENDS ${ARG_OUTPUT})
endfunction()

# zelk_contentgen_inputs(VAR)
#   The files the content tool's output depends on: its own sources and
#   tables, the writers it uses and the game's readers it validates with.
#   The data steps depend on these rather than on the tool's binary, which
#   relinks whenever any library below it changes.
function(zelk_contentgen_inputs out)
  set(root ${CMAKE_SOURCE_DIR})
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS
       ${root}/tools/contentgen/*
       ${root}/tools/makeanm/*.cpp ${root}/tools/makeanm/*.h
       ${root}/tools/makepak/*.cpp ${root}/tools/makepak/*.h
       ${root}/tools/oggfixture/*.cpp ${root}/tools/oggfixture/*.h
       ${root}/tools/imagefixtures/GifWriter.* ${root}/tools/imagefixtures/J2kWriter.*
       ${root}/framework/resources/*.cpp ${root}/framework/resources/*.h
       ${root}/framework/fonts/DescParser.* ${root}/framework/fonts/DataElement.*
       ${root}/framework/sound/WaveBytes.* ${root}/framework/app/Utf16.* ${root}/framework/app/StringUtil.*
       ${root}/game/world/AnmFile.* ${root}/game/core/PakDirectory.*
       ${root}/platform/xml/* ${root}/platform/audio/* ${root}/platform/j2k/* ${root}/platform/modules/*)
  set(${out} ${inputs} PARENT_SCOPE)
endfunction()

# zelk_fixture_office(TEST)
#   The content tool's fixture office (day 1's objects, their animation files
#   and plain-colour pictures, the level files, the HUD's and the briefing's
#   layouts), written
#   into the test program's build folder whenever the tool changes; the test
#   program finds it as FIXTURE_OFFICE.
function(zelk_fixture_office test)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/fixture_office)
  zelk_contentgen_inputs(inputs)
  add_custom_command(OUTPUT ${folder}/cfg/office.xml
                     COMMAND contentgen --fixture ${folder}
                     DEPENDS ${inputs}
                     COMMENT "Writing the fixture office for ${test}")
  add_custom_target(${test}_fixture_office DEPENDS ${folder}/cfg/office.xml)
  add_dependencies(${test}_fixture_office contentgen)
  add_dependencies(${test} ${test}_fixture_office)
  target_compile_definitions(${test} PRIVATE FIXTURE_OFFICE="${folder}")
endfunction()
