# One function per kind of target. Each refuses arguments it does not know.
#
#   vk_library(NAME n [SHARED] [COMPAT] SOURCES ... [DEPENDS ...] [PRIVATE_DEPENDS ...])
#   vk_module(NAME n FILE file.dll [COMPAT] SOURCES ... [DEPENDS ...] [EXPORTS sym ...])
#   vk_program(NAME n [COMPAT] SOURCES ... [DEPENDS ...])
#   vk_test(NAME n [COMPAT] SOURCES ... [DEPENDS ...] [ENV VAR=VALUE ...])
#   vk_benchmark(NAME n SOURCES ... [DEPENDS ...])
#
# COMPAT builds a second target, n_compat, for the earlier generation of the
# suite: it is compiled with VK_COMPAT_BUILD=1 and links the _compat form of
# every dependency that has one. Compat modules land in bin/compat/. With
# VK_COMPAT off (the sanitizer build of the test command) only the current
# generation is built; vk_variants_of names the targets that exist, and
# VK_WITH_COMPAT (0 or 1) tells programs whether bin/compat/ is built.

set(VK_WARNINGS -Wall -Wextra -Wpedantic -Werror -Wnon-virtual-dtor)
# Narrow literals hold the program's texts as GB bytes, the way the suite
# stores and shows them.
set(VK_CHARSET -fexec-charset=GB18030)

if(VK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

function(_vk_check_args fn)
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "${fn}(${ARG_NAME}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT ARG_NAME)
    message(FATAL_ERROR "${fn}: NAME is required")
  endif()
endfunction()

# Maps a dependency list to the compat variants where a variant exists.
function(_vk_variant_deps out variant)
  set(result)
  foreach(dep IN LISTS ARGN)
    get_property(has GLOBAL PROPERTY VK_COMPAT_${dep})
    if(variant STREQUAL "compat" AND has)
      list(APPEND result ${dep}_compat)
    else()
      list(APPEND result ${dep})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(_vk_common target variant)
  target_compile_options(${target} PRIVATE ${VK_WARNINGS} ${VK_CHARSET})
  if(VK_COMPAT)
    target_compile_definitions(${target} PRIVATE VK_WITH_COMPAT=1)
  else()
    target_compile_definitions(${target} PRIVATE VK_WITH_COMPAT=0)
  endif()
  if(variant STREQUAL "compat")
    target_compile_definitions(${target} PRIVATE VK_COMPAT_BUILD=1)
  else()
    target_compile_definitions(${target} PRIVATE VK_COMPAT_BUILD=0)
  endif()
endfunction()

function(_vk_variants out compat)
  if(compat AND VK_COMPAT)
    set(${out} current compat PARENT_SCOPE)
  else()
    set(${out} current PARENT_SCOPE)
  endif()
endfunction()

# The targets built from one COMPAT declaration: name, and name_compat when
# the compatibility generation is built.
function(vk_variants_of out)
  set(result)
  foreach(name IN LISTS ARGN)
    list(APPEND result ${name})
    if(VK_COMPAT AND TARGET ${name}_compat)
      list(APPEND result ${name}_compat)
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(_vk_target_name out name variant)
  if(variant STREQUAL "compat")
    set(${out} ${name}_compat PARENT_SCOPE)
  else()
    set(${out} ${name} PARENT_SCOPE)
  endif()
endfunction()

function(vk_library)
  cmake_parse_arguments(ARG "SHARED;COMPAT" "NAME" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  _vk_check_args(vk_library)
  if(ARG_COMPAT)
    set_property(GLOBAL PROPERTY VK_COMPAT_${ARG_NAME} TRUE)
  endif()
  _vk_variants(variants "${ARG_COMPAT}")
  foreach(variant IN LISTS variants)
    _vk_target_name(target ${ARG_NAME} ${variant})
    if(ARG_SHARED)
      add_library(${target} SHARED ${ARG_SOURCES})
    else()
      add_library(${target} STATIC ${ARG_SOURCES})
      # Static parts of a module keep their symbols to themselves.
      set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                                 VISIBILITY_INLINES_HIDDEN ON)
    endif()
    _vk_common(${target} ${variant})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
    _vk_variant_deps(deps ${variant} ${ARG_DEPENDS})
    _vk_variant_deps(pdeps ${variant} ${ARG_PRIVATE_DEPENDS})
    target_link_libraries(${target} PUBLIC ${deps} PRIVATE ${pdeps})
  endforeach()
endfunction()

# A shared object the suite loads by its file name (for example PVQR82C.dll).
# With EXPORTS, only the listed symbols are visible.
function(vk_module)
  cmake_parse_arguments(ARG "COMPAT" "NAME;FILE" "SOURCES;DEPENDS;EXPORTS" ${ARGN})
  _vk_check_args(vk_module)
  _vk_variants(variants "${ARG_COMPAT}")
  foreach(variant IN LISTS variants)
    _vk_target_name(target ${ARG_NAME} ${variant})
    add_library(${target} MODULE ${ARG_SOURCES})
    _vk_common(${target} ${variant})
    _vk_variant_deps(deps ${variant} ${ARG_DEPENDS})
    target_link_libraries(${target} PRIVATE ${deps})
    set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX "" OUTPUT_NAME ${ARG_FILE}
                                               CXX_VISIBILITY_PRESET hidden
                                               VISIBILITY_INLINES_HIDDEN ON)
    if(variant STREQUAL "compat")
      set_target_properties(${target} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/compat
        BUILD_RPATH "$ORIGIN/..")
    endif()
    if(ARG_EXPORTS)
      set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
      list(JOIN ARG_EXPORTS "; " syms)
      file(WRITE ${script} "{ global: ${syms}; local: *; };\n")
      target_link_options(${target} PRIVATE -Wl,--version-script=${script})
      set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
    endif()
  endforeach()
endfunction()

function(vk_program)
  cmake_parse_arguments(ARG "COMPAT" "NAME" "SOURCES;DEPENDS" ${ARGN})
  _vk_check_args(vk_program)
  _vk_variants(variants "${ARG_COMPAT}")
  foreach(variant IN LISTS variants)
    _vk_target_name(target ${ARG_NAME} ${variant})
    add_executable(${target} ${ARG_SOURCES})
    _vk_common(${target} ${variant})
    _vk_variant_deps(deps ${variant} ${ARG_DEPENDS})
    target_link_libraries(${target} PRIVATE ${deps})
  endforeach()
endfunction()

# One test program per call, one CTest entry per program. Tests run headless
# and never read the user's registry file.
function(vk_test)
  cmake_parse_arguments(ARG "COMPAT" "NAME" "SOURCES;DEPENDS;ENV" ${ARGN})
  _vk_check_args(vk_test)
  _vk_variants(variants "${ARG_COMPAT}")
  foreach(variant IN LISTS variants)
    _vk_target_name(target ${ARG_NAME} ${variant})
    add_executable(${target} ${ARG_SOURCES})
    _vk_common(${target} ${variant})
    _vk_variant_deps(deps ${variant} ${ARG_DEPENDS})
    target_link_libraries(${target} PRIVATE ${deps} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${target} PRIVATE
      VK_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/testdata"
      VK_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VK_REGISTRY=${CMAKE_BINARY_DIR}/no-registry.reg;LANG=C.UTF-8;${ARG_ENV}")
  endforeach()
endfunction()

function(vk_benchmark)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPENDS" ${ARGN})
  _vk_check_args(vk_benchmark)
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  _vk_common(${ARG_NAME} current)
  find_package(benchmark REQUIRED)
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPENDS} benchmark::benchmark)
endfunction()
