// The client side of every page: one submit routine, the lock overlay, confirmations,
// timers, focus, the Enter key of text boxes and the alert queue. Plain script, no framework.
// Pages carry only data (data-iw-* attributes and the JSON state), never script of their own.
(function () {
  'use strict';
  var submitting = false;

  function form() { return document.getElementById('IWForm'); }

  function windowSize(f) {
    var w = window.innerWidth ? window.innerWidth - 30 : document.body.clientWidth;
    var h = window.innerHeight ? window.innerHeight - 30 : document.body.clientHeight;
    f.elements.IW_width.value = String(w);
    f.elements.IW_height.value = String(h);
  }

  // Posts the page as an event of control `name` with `param`; with a confirmation text the
  // user is asked first and nothing happens on Cancel.
  // A download (`mayStay`) may leave this page in place, so it must not stay blocked after it.
  function SubmitClickConfirm(name, param, validate, confirmation, mayStay) {
    if (confirmation && !window.confirm(confirmation)) return false;
    if (submitting) return false;
    var f = form();
    if (!f) return false;
    f.elements.IW_Action.value = name || '';
    f.elements.IW_ActionParam.value = param || '';
    windowSize(f);
    if (mayStay) {
      f.submit();
      return false;
    }
    submitting = true;
    if (f.getAttribute('data-lock') === '1') {
      var lock = document.getElementById('iw-lock');
      if (lock) lock.className = 'on';
    }
    f.submit();
    return false;
  }
  window.SubmitClickConfirm = SubmitClickConfirm;

  // Text typed into a panel marked data-iw-guard (the question to ask) is not lost unawares:
  // leaving by a link outside the panel asks that question, leaving by the browser (reload,
  // back, closing) its own leave prompt. The panel's own controls post what was typed, except
  // one marked data-iw-discard (its own question), which throws it away.
  var unsaved = false;
  function guardOf(el) { return el && el.closest ? el.closest('[data-iw-guard]') : null; }
  function onInput(e) { if (guardOf(e.target)) unsaved = true; }
  function mayLeave(el) {
    var guard = document.querySelector('[data-iw-guard]');
    if (!unsaved || !guard) return true;
    if (guardOf(el)) {
      var discard = el.getAttribute('data-iw-discard');
      return !discard || window.confirm(discard);
    }
    return window.confirm(guard.getAttribute('data-iw-guard'));
  }
  function onBeforeUnload(e) {
    if (!unsaved || submitting || !document.querySelector('[data-iw-guard]')) return;
    e.preventDefault();
    e.returnValue = '';
  }

  function onClick(e) {
    var el = e.target.closest ? e.target.closest('[data-iw-action]') : null;
    if (!el || el.tagName === 'SELECT') return;
    e.preventDefault();
    if (el.disabled) return;
    if (el.getAttribute('data-iw-download') !== '1' && !mayLeave(el)) return;
    SubmitClickConfirm(el.getAttribute('data-iw-action'), el.getAttribute('data-iw-param'),
                       true, el.getAttribute('data-iw-confirm'),
                       el.getAttribute('data-iw-download') === '1');
  }

  function onChange(e) {
    var el = e.target;
    if (el && el.getAttribute && el.getAttribute('data-iw-change')) {
      SubmitClickConfirm(el.getAttribute('data-iw-change'), '', true, '');
    }
  }

  // Enter in a box with data-iw-enter moves the focus to data-iw-target ("focus", selecting
  // its text with data-iw-select) or clicks it ("click"). Enter that ends an input method's
  // composition is left to the input method.
  function onKeyDown(e) {
    if (e.key !== 'Enter' || e.isComposing || e.keyCode === 229) return;
    var el = e.target;
    var action = el && el.getAttribute ? el.getAttribute('data-iw-enter') : null;
    if (!action) return;
    var target = document.getElementById(el.getAttribute('data-iw-target') || '');
    if (!target) return;
    e.preventDefault();
    target.focus();
    if (action === 'click') {
      target.click();
    } else if (el.getAttribute('data-iw-select') === '1' && target.select) {
      target.select();
    }
  }

  // A table marked iw-keep-N keeps its first N columns (a student's number and name) in view
  // while it scrolls sideways; the style sheet keeps the first, this places the others beside
  // it. Measured again when the window changes size.
  function keepColumns() {
    var tables = document.querySelectorAll('table[class*="iw-keep-"]');
    Array.prototype.forEach.call(tables, function (table) {
      var match = /(^|\s)iw-keep-(\d+)(\s|$)/.exec(table.className);
      var head = table.rows[0];
      if (!match || !head) return;
      var lefts = [];
      var left = 0;
      for (var c = 0; c < Number(match[2]) && c < head.cells.length; ++c) {
        lefts.push(left);
        left += head.cells[c].getBoundingClientRect().width;
      }
      Array.prototype.forEach.call(table.rows, function (row) {
        for (var k = 1; k < lefts.length && k < row.cells.length; ++k) {
          row.cells[k].classList.add('iw-kept');
          row.cells[k].style.left = lefts[k] + 'px';
        }
      });
    });
  }

  function readState() {
    var node = document.getElementById('iw-state');
    try { return node ? JSON.parse(node.textContent) : {}; } catch (err) { return {}; }
  }

  function startExchange(f) {
    windowSize(f);
    f.submit();
  }

  // The session of this tab survives a reload and the history; sessionStorage is per tab.
  var SESSION_KEY = 'iw-session';
  function keptSession() {
    try { return window.sessionStorage.getItem(SESSION_KEY); } catch (err) { return null; }
  }
  function keepSession(id) {
    try { window.sessionStorage.setItem(SESSION_KEY, id); } catch (err) { /* private mode */ }
  }

  // The page address asked for afresh: post the tab's session for its current page, or start
  // a new session when the tab has none.
  function resume(f) {
    var id = keptSession();
    if (!id) { window.location.replace('/'); return; }
    f.elements.IW_SessionID_.value = id;
    windowSize(f);
    f.submit();
  }

  // A page shown again from the browser's memory: ask for the current page before anything
  // typed here can be lost.
  function resync() {
    var f = form();
    if (!f || !f.elements.IW_SessionID_) return;
    var field = document.createElement('input');
    field.type = 'hidden';
    field.name = 'IW_Resync';
    field.value = '1';
    f.appendChild(field);
    submitting = true;
    windowSize(f);
    f.submit();
  }

  // Tells the server the browser is still here, without sending or redrawing the page.
  function keepAlive(f, interval) {
    var body = new FormData();
    body.append('IW_SessionID_', f.elements.IW_SessionID_.value);
    body.append('IW_KeepAlive', '1');
    window.setInterval(function () {
      if (window.fetch) window.fetch('/EXEC', { method: 'POST', body: body, credentials: 'same-origin' });
    }, interval);
  }

  // After a page has loaded: a reload or the history asks the server again (the address
  // becomes a plain one that answers the current page), never a resubmitted post.
  function settle(f, state) {
    if (!f.elements.IW_SessionID_) return;
    keepSession(f.elements.IW_SessionID_.value);
    if (window.history && window.history.replaceState) window.history.replaceState(null, '', '/EXEC');
    if (state.keepAlive > 0) keepAlive(f, state.keepAlive);
  }

  function afterLoad() {
    var f = form();
    var state = readState();
    if (state.start && f) { startExchange(f); return; }
    if (state.resume && f) { resume(f); return; }
    if (f) settle(f, state);
    keepColumns();
    window.addEventListener('resize', keepColumns);
    // A log that grows at its end shows its newest lines.
    Array.prototype.forEach.call(document.querySelectorAll('textarea[data-iw-end]'), function (t) {
      t.scrollTop = t.scrollHeight;
    });
    (state.messages || []).forEach(function (m) { window.alert(m); });
    if (state.focus) {
      var target = document.getElementById(state.focus);
      if (target && target.focus) { target.focus(); if (target.select) target.select(); }
    }
    (state.timers || []).forEach(function (t) {
      window.setTimeout(function () { SubmitClickConfirm(t.id, '', false, ''); }, t.interval);
    });
    // Tells whoever drives the browser that alerts and focus are done.
    document.documentElement.setAttribute('data-iw-ready', '');
  }

  document.addEventListener('click', onClick);
  document.addEventListener('change', onChange);
  document.addEventListener('keydown', onKeyDown);
  document.addEventListener('input', onInput);
  window.addEventListener('beforeunload', onBeforeUnload);
  // A page shown again from the browser's memory must not be typed into: it may be older
  // than the session's current page.
  window.addEventListener('pageshow', function (e) {
    if (e.persisted) {
      submitting = false;
      var lock = document.getElementById('iw-lock');
      if (lock) lock.className = '';
      if (!readState().start) resync();
    }
  });
  if (document.readyState === 'complete') {
    window.setTimeout(afterLoad, 0);
  } else {
    window.addEventListener('load', function () { window.setTimeout(afterLoad, 0); });
  }
})();
