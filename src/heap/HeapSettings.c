/* The settings of the programs' heap allocator, read by jemalloc when the first block is taken.
 *
 * A large level is tens of megabytes of small records, read in one go. Taken from 4 KiB pages,
 * every fresh page costs the kernel a fault; on a virtual machine that cost is what a load, a
 * store or an undo snapshot spends most of its time on. On transparent huge pages (2 MiB) the
 * same memory takes 512 times fewer faults. The kernel's "madvise" mode, the default of most
 * systems, gives huge pages only to memory that asks for them: "thp:always" asks for them for
 * every block of the heap, the allocator's own bookkeeping included.
 *
 * Each arena then holds whole huge pages of its own; four arenas (instead of four per core) keep
 * the editor's many threads (the visibility workers, the driver's) from holding tens of megabytes
 * more than they use, and run as fast. */
const char* malloc_conf = "thp:always,metadata_thp:always,narenas:4";
