# Project-wide compile settings. Never fast-math: the DSP code relies on IEEE semantics
# (NaN checks, signed zeros, exact comparisons).

add_library(quillmore_warnings INTERFACE)
target_compile_options(quillmore_warnings INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wno-unused-parameter>)

if(QUILLMORE_SANITIZER STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
elseif(QUILLMORE_SANITIZER STREQUAL "thread")
    # -Wno-tsan: the queue library's standalone fences are annotated for ThreadSanitizer instead.
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer $<$<CXX_COMPILER_ID:GNU>:-Wno-tsan>)
    add_link_options(-fsanitize=thread)
elseif(NOT QUILLMORE_SANITIZER STREQUAL "")
    message(FATAL_ERROR "Unknown QUILLMORE_SANITIZER '${QUILLMORE_SANITIZER}'")
endif()

# Targets built from every .cpp in the given directories (relative to the current list dir).
function(quillmore_glob_sources out)
    set(result)
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp")
        list(APPEND result ${found})
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# A static library from the given sources; an interface library while a directory has none yet,
# so that the targets exist from the start and link the same way later.
function(quillmore_add_library name)
    if(ARGN)
        add_library(${name} STATIC ${ARGN})
        target_link_libraries(${name} PRIVATE quillmore_warnings)
    else()
        add_library(${name} INTERFACE)
    endif()
endfunction()

# PUBLIC for a static library, INTERFACE for a source-less one.
function(quillmore_usage_scope name out)
    get_target_property(type ${name} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        set(${out} INTERFACE PARENT_SCOPE)
    else()
        set(${out} PUBLIC PARENT_SCOPE)
    endif()
endfunction()

# Links a static library that compiled JUCE's modules privately (the plug-in's shared code, the host
# library) and hands the consumer the JUCE headers and definitions that library was compiled with,
# so that JUCE's modules compile once per configuration and not once per consumer.
function(quillmore_use_juce_code target library)
    target_link_libraries(${target} PRIVATE ${library})
    target_include_directories(${target} PRIVATE $<TARGET_PROPERTY:${library},INCLUDE_DIRECTORIES>)
    target_compile_definitions(${target} PRIVATE $<TARGET_PROPERTY:${library},COMPILE_DEFINITIONS>)
endfunction()

# The libFuzzer build: clang's fuzzer instrumentation with ASan and UBSan on every source, JUCE's
# included; the fuzz targets link libFuzzer itself (tests/fuzz).
if(QUILLMORE_BUILD_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QUILLMORE_BUILD_FUZZ needs clang (CC=clang-14 CXX=clang++-14)")
    endif()
    if(NOT QUILLMORE_SANITIZER STREQUAL "")
        message(FATAL_ERROR "QUILLMORE_BUILD_FUZZ brings its own sanitizers; leave QUILLMORE_SANITIZER empty")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
