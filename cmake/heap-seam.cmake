# The heap-failure seam of the Windows test programs that link the shell
# (tests/wine/support/heap_seam.h). The program gets copies of the library's archives
# (ours, libjpeg-turbo's, libpng's and zlib's) in which every call of malloc, calloc,
# realloc, GlobalAlloc and each form of operator new is renamed to a counting function;
# the test program's own code, GoogleTest and the C++ runtime keep the real ones, so only
# the library's allocations are counted and made to fail.
function(pictornx_link_heap_seam target)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(c "")        # no underscore before C names
    set(size "y")    # size_t is unsigned long long
    set(global_alloc "__imp_GlobalAlloc")
  else()
    set(c "_")
    set(size "j")    # size_t is unsigned int
    set(global_alloc "__imp__GlobalAlloc@8")
  endif()
  set(renames "${global_alloc} ${c}pictornx_seam_GlobalAlloc_import\n")
  foreach(function malloc calloc realloc)
    string(APPEND renames "${c}${function} ${c}pictornx_seam_${function}\n")
  endforeach()
  foreach(form w a)  # operator new and operator new[]
    set(new "${c}_Zn${form}${size}")
    set(seam "${c}pictornx_seam_new${form}")
    string(APPEND renames "${new} ${seam}\n" "${new}RKSt9nothrow_t ${seam}_nothrow\n"
      "${new}St11align_val_t ${seam}_aligned\n" "${new}St11align_val_tRKSt9nothrow_t ${seam}_aligned_nothrow\n")
  endforeach()
  set(dir ${CMAKE_BINARY_DIR}/heap-seam)
  file(WRITE ${dir}/renames.txt "${renames}")

  set(archives "")
  foreach(library pictornx_shell pictornx_ui pictornx_dib_seams pictornx_win pictornx_codecs pictornx_pixels)
    set(out ${dir}/lib${library}.a)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_OBJCOPY} --redefine-syms=${dir}/renames.txt $<TARGET_FILE:${library}> ${out}
      DEPENDS ${library} ${dir}/renames.txt VERBATIM)
    list(APPEND archives ${out})
  endforeach()
  foreach(file ${JPEG_LIBRARY_RELEASE} ${PNG_LIBRARY_RELEASE} ${PICTORNX_ZLIB_STATIC})
    get_filename_component(name ${file} NAME)
    set(out ${dir}/${name})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_OBJCOPY} --redefine-syms=${dir}/renames.txt ${file} ${out}
      DEPENDS ${file} ${dir}/renames.txt VERBATIM)
    list(APPEND archives ${out})
  endforeach()
  add_custom_target(${target}_heap_seam DEPENDS ${archives})
  add_dependencies(${target} ${target}_heap_seam)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine/support/heap_seam.cpp)
  # Ahead of the original archives, which then have nothing left to give.
  target_link_libraries(${target} PRIVATE -Wl,--start-group ${archives} -Wl,--end-group)
endfunction()
