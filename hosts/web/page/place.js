// @ts-check
// The place a program stands at, kept in the browser's storage (localStorage)
// so that a reload, a discarded tab or an app the system ended opens where
// it stood: one place for each program and folder, its items each under a
// key of their own, their bytes as a string of char codes 0-255. A tab owns
// the place while it runs, by a mark it renews every second and takes away
// as the page goes; a second tab opened while the first runs keeps none.

const RENEW_MS = 1000;
const STALE_MS = 4000;

/**
 * @param {string} program
 * @param {string} pathname the page's address path: the place is its folder's
 */
export function makePlace(program, pathname) {
  const base = 'lesson-place:' + program + ':' + pathname.slice(0, pathname.lastIndexOf('/') + 1);
  const owner = base + '#tab';
  const item = (/** @type {string} */ name) => base + '/' + name;
  const me = Math.random().toString(36).slice(2) + Date.now().toString(36);
  let owned = false;
  let timer = 0;

  const storage = () => window.localStorage;
  /** The place's own keys, read before any is removed. */
  const items = () => {
    const keys = [];
    for (let i = 0; i < storage().length; ++i) {
      const key = storage().key(i);
      if (key !== null && key.startsWith(base + '/')) keys.push(key);
    }
    return keys;
  };
  const ownedNow = () => {
    if (!owned) return false;
    try {
      const mark = JSON.parse(storage().getItem(owner) || 'null');
      if (mark && mark.id === me) return true;
    } catch {
      // refused
    }
    owned = false;  // another tab took it over (this one was frozen for long)
    return false;
  };
  const renew = () => {
    try {
      if (ownedNow()) storage().setItem(owner, JSON.stringify({ id: me, at: Date.now() }));
    } catch {
      // refused
    }
  };

  return {
    /**
     * Takes the place for this tab: false when another tab runs the program
     * (its mark renewed within the last seconds) or the storage is refused.
     * @returns {boolean}
     */
    open() {
      try {
        const mark = JSON.parse(storage().getItem(owner) || 'null');
        if (mark && mark.id !== me && Date.now() - mark.at < STALE_MS) return false;
        storage().setItem(owner, JSON.stringify({ id: me, at: Date.now() }));
      } catch {
        return false;
      }
      owned = true;
      timer = window.setInterval(renew, RENEW_MS);
      window.addEventListener('pagehide', () => {
        window.clearInterval(timer);
        try {
          if (ownedNow()) storage().removeItem(owner);
        } catch {
          // refused
        }
        owned = false;
      });
      return true;
    },
    /** @param {string} name @returns {string | null} */
    read(name) {
      try {
        return storage().getItem(item(name));
      } catch {
        return null;
      }
    },
    /**
     * Why the item could not be kept, or '' when it was.
     * @param {string} name
     * @param {string} text
     */
    write(name, text) {
      if (!ownedNow()) return 'another tab of the program keeps it';
      try {
        storage().setItem(item(name), text);
        return '';
      } catch (error) {
        return String(/** @type {any} */ (error).name || error);
      }
    },
    /** @param {string} name */
    remove(name) {
      try {
        if (ownedNow()) storage().removeItem(item(name));
      } catch {
        // refused
      }
    },
    clear() {
      try {
        if (ownedNow()) for (const key of items()) storage().removeItem(key);
      } catch {
        // refused
      }
    },
    // A place that cannot be read: its head kept aside, the rest gone.
    setAside() {
      try {
        if (!ownedNow()) return;
        const head = storage().getItem(item('head'));
        for (const key of items()) storage().removeItem(key);
        if (head !== null) storage().setItem(base + '#unreadable', head);
      } catch {
        // refused
      }
    },
    /** @param {string} line */
    tell(line) { console.warn(program + ': ' + line); },
  };
}
