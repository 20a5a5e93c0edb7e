# Warnings on every target, the same set natively and for MinGW.
function(project_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion -Wreturn-type
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wnull-dereference)
  if(WIN32)
    # Our Chinese texts are held as code page 936 bytes; the sources stay UTF-8. Only our own
    # targets: the standard headers hold literals (such as "\u00b5s") that CP936 cannot encode.
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP936)
  endif()
endfunction()
