// The browser's programs have no file system: their keys, trace, place and
// scheme all go through the page, and the runtime's own in-memory one took about
// 7% of the first opening to set up. What the C library still links for
// files fails here, plainly, as on a system without them: an open or a
// rename says ENOSYS and a descriptor other than the three standard ones is
// bad, so that a file asked for is an error the program reports, never a
// success that writes nowhere. Only stdout and stderr are written (to the
// console, line by line).
// (errno values are WASI's: EBADF 8, ESPIPE 70, ENOSYS 52; the syscalls
// return them negated, the fd_ functions as they are.)

mergeInto(LibraryManager.library, {
  __syscall_open: function(path, flags, varargs) { return -52; },
  __syscall_faccessat: function(dirfd, path, amode, flags) { return -52; },
  __syscall_stat64: function(path, buf) { return -52; },
  __syscall_readlink: function(path, buf, bufsize) { return -52; },
  __syscall_getcwd: function(buf, size) { return -52; },
  __syscall_chmod: function(path, mode) { return -52; },
  __syscall_rename: function(oldPath, newPath) { return -52; },
  __syscall_unlink: function(path) { return -52; },
  __syscall_fchmod: function(fd, mode) { return fd >= 0 && fd <= 2 ? -52 : -8; },
  // The standard streams count as terminals: stdout stays line-buffered.
  __syscall_ioctl: function(fd, op, varargs) { return fd >= 0 && fd <= 2 ? 0 : -8; },
  __syscall_fcntl64: function(fd, cmd, varargs) { return fd >= 0 && fd <= 2 ? 0 : -8; },
  fd_fdstat_get: function(fd, pbuf) {
    if (fd !== 1 && fd !== 2) return 8;
    HEAP8[pbuf >> 0] = 2;  // a character device
    return 0;
  },
  fd_close: function(fd) { return fd >= 0 && fd <= 2 ? 0 : 8; },
  fd_read: function(fd, iov, iovcnt, pnum) { return 8; },
  fd_seek: function(fd, offsetLow, offsetHigh, whence, newOffset) { return fd >= 0 && fd <= 2 ? 70 : 8; },
});
